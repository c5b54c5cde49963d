#!/usr/bin/env python3
"""Tolvi.exe's session, transfer and help commands and its locks, chosen from the menu with keys;
dialogs and message boxes driven by control id with dlgdrive.

- locks: a configuration with General Settings and the DOS box locked, saving forbidden and a
  password: a host's action string with %dos% does nothing (the text after it still reaches the
  host), Config/General Settings opens nothing; Lock settings takes the password typed in another
  case, the padlocks of General, the DOS box and saving are opened by control id, General
  Settings opens again and File/Save writes the new [LockSettings]; a wrong password is refused.
- one more: with unsaved changes Session/One More asks first (Cancel stops, Yes saves); the new
  title with two blanks reaches the second Tolvi whole, whose title also shows the host option
  of this one but not its /t: title; with SingleInstance and two sessions running One More is
  greyed (choosing it opens nothing). The second Tolvi is closed with File/Exit.
- file transfer: on Telnet with XferType 0 File/File transfer starts the configured program (the
  cmdrecorder tool) in FtpDirectory; with no folder it starts in Tolvi's own folder, which is
  therefore back; a folder that is not there is reported and nothing starts.
- record comm: Special/Record Comm writes what the host sends into the trace file, and again
  closes it; a trace file that cannot be made is reported with its name.
- reset: Config/Reset to Default while connected changes nothing; disconnected, Yes gives an
  untitled configuration of default values.
- save as: File/Save config As writes the configuration's keyboard map, key definitions,
  translate tables and hotspots under the new name; two copies are equal file by file.
- help: Help/Programmer's Guide opens progref.wri in the word processor and Help/Release Notes
  opens readme.txt in Notepad; their texts are read back from the windows.

    session_commands_test.py TOLVI_BIN_DIR PROJECT_ROOT

TOLVI_E2E_CASE=locks (or another case's name) runs one case alone.
"""
import os
import subprocess
import sys
import time

import e2e
import session_dialogs_test as dialogs
from session_dialogs_test import dlgdrive, dlgdrive_run, keys

BASE = dialogs.BASE
MESSAGE_TEXT = 65535  # the static text of a message box
YES, NO, CANCEL, OK = 6, 7, 2, 1

# A host that shows its prompt, sends the host command that runs an action string when asked
# for, and answers every other line.
ECHO_HOST = r'''#!/bin/bash
printf 'ready\r\n'
while IFS= read -r line; do
  line=${line%$'\r'}
  case "$line" in
    dos) printf '\033[31y%%dos%%MARK^M\033\\' ;;
    *) printf 'got [%s]\r\n' "$line" ;;
  esac
done
'''


def in_config(path):
    """A Windows path as a configuration string holds it (a backslash is written twice)."""
    return path.replace('\\', '\\\\')


def message(session):
    return dlgdrive(session, 'Tolvi', 'text', MESSAGE_TEXT)[0]


def no_dialog(session, caption, wait=3000):
    return dlgdrive_run(session, caption, 'text', 1, wait=wait).returncode == 2


def window_named(name):
    return e2e.xdotool_out('search', '--onlyvisible', '--name', name).split()


def activate(name):
    """A click into the middle of the window of that name gives it the keyboard."""
    window = e2e.wait_until(lambda: window_named(name), 'a window named %r' % name)[0]
    geometry = e2e.xdotool_out('getwindowgeometry', '--shell', window)
    size = dict(line.split('=') for line in geometry.split() if '=' in line)
    x, y = int(size.get('WIDTH', 300)) // 2, int(size.get('HEIGHT', 200)) // 2
    subprocess.run(['xdotool', 'mousemove', '--window', window, str(x), str(y), 'click', '1'], check=True)
    time.sleep(0.5)


def choose(sequence, condition, what, tries=3):
    """Chooses a menu command with keys in Tolvi's window until condition() holds (a key typed
    while the window was still getting the focus is lost); returns condition()'s value."""
    for attempt in range(tries):
        activate(e2e.WINDOW_NAME)
        keys(*sequence)
        try:
            return e2e.wait_until(condition, what, timeout=15 if attempt < tries - 1 else e2e.WAIT)
        except e2e.Fail:
            if attempt == tries - 1:
                raise


def start_host(session, config, *options, record=True):
    port = session.telnetd(ECHO_HOST)
    session.tolvi(config, '/ip:127.0.0.1', '/tport:%d' % port, *options, record=record)
    e2e.wait_until(lambda: session.title(), "Tolvi's window")
    return port


def test_locks(session):
    config = BASE + 'AllowWriteCfg=No\n[LockSettings]\nLockGeneral=Yes\nLockDosBox=Yes\nLockPassword=%s\n' % (
        e2e.scrambled('Admin7'))
    start_host(session, config, '/c')
    session.wait_received(b'ready')
    session.click_view()
    # The host's action string: the locked DOS box does nothing, the text after it is sent.
    session.type_line('dos')
    session.wait_received(b'got [MARK]')
    if not no_dialog(session, 'Error', 2000):
        raise e2e.Fail('the locked DOS box ran')
    keys('alt+c', 'g')
    if not no_dialog(session, 'General Settings'):
        raise e2e.Fail('Config/General Settings opened in a locked configuration')
    keys('Escape', 'Escape')
    session.click_view()

    dialogs.lock_settings()
    if dlgdrive(session, dialogs.KEYIN, 'text', 111)[0] != 'Lock administration  password':
        raise e2e.Fail('Lock settings does not ask for the password')
    dlgdrive(session, dialogs.KEYIN, 'settext', 110, 'ADMIN7', 'click', OK, 'wait-closed')
    for padlock in (3298, 1090, 3327):  # General, DOS box, saving settings
        if dlgdrive(session, dialogs.LOCK_ADMIN, 'pressed', padlock)[0] != '1':
            raise e2e.Fail('padlock %d is not shut' % padlock)
        dlgdrive(session, dialogs.LOCK_ADMIN, 'click', padlock)
    session.keep_dialog(dialogs.LOCK_ADMIN, 'e2e-session-lock-admin-opened')
    dlgdrive(session, dialogs.LOCK_ADMIN, 'click', OK, 'wait-closed')
    session.click_view()

    keys('alt+c', 'g')
    dlgdrive(session, 'General Settings', 'click', CANCEL, 'wait-closed')
    session.click_view()
    keys('alt+f', 's')
    saved = lambda: session.read(e2e.CONFIG_NAME)
    e2e.wait_until(lambda: b'LockGeneral=No' in saved() and b'LockDosBox=No' in saved() and
                   b'AllowWriteCfg=Yes' in saved(),
                   lambda: 'the opened locks in the saved file: %r' % saved()[-700:])

    dialogs.lock_settings()
    dlgdrive(session, dialogs.KEYIN, 'settext', 110, 'admin8', 'click', OK, 'wait-closed')
    if message(session) != 'Invalid password':
        raise e2e.Fail('a wrong password is not refused')
    dlgdrive(session, 'Tolvi', 'click', OK, 'wait-closed')
    if not no_dialog(session, dialogs.LOCK_ADMIN):
        raise e2e.Fail('lock administration opened after a wrong password')


def test_one_more(session):
    config = BASE + 'HostName=10.9.9.9\nSingleInstance=Yes\nMaxInstance=2\n'
    session.tolvi(config, '/ip:127.0.0.1', '/tport:2323', '/t:FirstOne')
    e2e.wait_until(lambda: window_named('FirstOne'), "Tolvi's window")
    activate('FirstOne')
    # An unsaved change: a log-on pair.
    keys('alt+c', 'a')
    dlgdrive(session, dialogs.AUTO_LOGIN, 'settext', 1040, 'ogin:', 'click', OK, 'wait-closed')
    activate('FirstOne')
    keys('alt+s', 'o')
    if not message(session).startswith(' You must save the current settings'):
        raise e2e.Fail('One More does not ask to save the changes')
    session.keep_dialog('Tolvi', 'e2e-session-one-more-save')
    dlgdrive(session, 'Tolvi', 'click', CANCEL, 'wait-closed')
    if not no_dialog(session, 'WINDOW TITLE'):
        raise e2e.Fail('One More went on after Cancel')
    if b'ogin:' in session.read(e2e.CONFIG_NAME):
        raise e2e.Fail('Cancel saved the configuration')

    activate('FirstOne')
    keys('alt+s', 'o')
    dlgdrive(session, 'Tolvi', 'click', YES, 'wait-closed')
    e2e.wait_until(lambda: b'AutoHost1="ogin:"' in session.read(e2e.CONFIG_NAME), 'the configuration saved by Yes')
    dlgdrive(session, 'WINDOW TITLE', 'settext', 3126, 'My  new title')
    session.keep_dialog('WINDOW TITLE', 'e2e-session-one-more-title')
    dlgdrive(session, 'WINDOW TITLE', 'click', OK, 'wait-closed')
    second = e2e.wait_until(lambda: window_named('My  new title'), 'the second session')[0]
    try:
        title = e2e.xdotool_out('getwindowname', second)
        if 'FirstOne' in title or '127.0.0.1' not in title or '(tolvi-e2e.wcf)' not in title:
            raise e2e.Fail('the second session is titled %r' % title)
        session.screenshot('e2e-session-one-more-two')
        # Two sessions run and two are allowed: One More is greyed.
        activate('FirstOne')
        keys('alt+s', 'o')
        if not no_dialog(session, 'WINDOW TITLE', 4000):
            raise e2e.Fail('One More ran beyond MaxInstance')
        keys('Escape', 'Escape')
    finally:
        activate('My  new title')
        keys('alt+f', 'x')
        e2e.wait_until(lambda: not window_named('My  new title'), 'the second session to end', timeout=20)


def recorded(session, name):
    return e2e.telnet_data(e2e.comm_bytes(session.read(name).decode('latin1')))


def test_file_transfer(session):
    recorder = session.winepath(os.path.join(os.path.dirname(session.bin), 'tools', 'cmdrecorder', 'cmdrecorder.exe'))
    os.makedirs(session.path('ftpdir'))
    config = BASE + 'ComType=2\nXferType=0\nFtpEnable=Yes\nFtpCommand="%s %s second"\nFtpDirectory="%s"\n' % (
        in_config(recorder), in_config(session.windows_path('run1.txt')), in_config(session.windows_path('ftpdir')))
    session.tolvi(config, '/ip:127.0.0.1', '/tport:2323')
    e2e.wait_until(lambda: session.title(), "Tolvi's window")
    run = choose(('alt+f', 't'), lambda: session.read('run1.txt'), 'the file-transfer program').decode().split('\n')
    if not run[0].endswith('run1.txt second') or run[1].lower() != session.windows_path('ftpdir').lower():
        raise e2e.Fail('the program got %r' % run)

    def command_dialog(command, folder):
        activate(e2e.WINDOW_NAME)
        keys('alt+c', 'Up', 'Up', 'Up', 'Up', 'Return')
        dlgdrive(session, 'File transfer command', 'settext', 3174, command, 'settext', 3175, folder,
                 'click', OK, 'wait-closed')
        activate(e2e.WINDOW_NAME)

    # Without a folder the program starts where Tolvi is: its own folder came back.
    command_dialog('%s %s' % (recorder, session.windows_path('run2.txt')), '')
    run = choose(('alt+f', 't'), lambda: session.read('run2.txt'), 'the second start').decode().split('\n')
    if run[1].lower() != session.windows_path().lower():
        raise e2e.Fail('Tolvi stayed in %r' % run[1])

    missing = session.windows_path('not-there')
    command_dialog('%s %s' % (recorder, session.windows_path('run3.txt')), missing)
    keys('alt+f', 't')
    text = message(session)
    session.keep_dialog('Tolvi', 'e2e-session-ftp-folder-missing')
    dlgdrive(session, 'Tolvi', 'click', OK, 'wait-closed')
    if text != 'Working directory not found: ' + missing:
        raise e2e.Fail('a missing folder shows %r' % text)
    time.sleep(2)
    if session.read('run3.txt'):
        raise e2e.Fail('the program started without its folder')


def test_record_comm(session):
    config = BASE + 'TraceFile="%s"\n' % in_config(session.windows_path('comm.trc'))
    start_host(session, config, '/c', record=False)
    session.click_view()
    keys('alt+p', 'c')
    e2e.wait_until(lambda: os.path.exists(session.path('comm.trc')), 'the trace file')
    session.type_line('hello')
    e2e.wait_until(lambda: b'got [hello]' in recorded(session, 'comm.trc'),
                   lambda: 'the answer in the trace file: %r' % session.read('comm.trc')[-300:])
    activate(e2e.WINDOW_NAME)
    keys('alt+p', 'c')
    # Closed: the file stays as it is (polled until two reads a second apart agree).
    previous = [None]

    def settled():
        now = session.read('comm.trc')
        same = now == previous[0]
        previous[0] = now
        return same
    e2e.wait_until(settled, 'the trace file to be closed', every=1.0)
    closed = session.read('comm.trc')
    activate(e2e.WINDOW_NAME)
    session.type_line('after')
    time.sleep(3)
    if session.read('comm.trc') != closed:
        raise e2e.Fail('the trace file grew after Record Comm stopped it')
    session.stop()

    again = e2e.Session(session.bin, session.root)
    try:
        name = again.windows_path('no-such-folder') + '\\comm.trc'
        again.tolvi(BASE + 'TraceFile="%s"\n' % in_config(name), '/ip:127.0.0.1', '/tport:2323', record=False)
        e2e.wait_until(lambda: again.title(), "Tolvi's window")
        activate(e2e.WINDOW_NAME)
        keys('alt+p', 'c')
        text = message(again)
        again.keep_dialog('Tolvi', 'e2e-session-trace-failed')
        dlgdrive(again, 'Tolvi', 'click', OK, 'wait-closed')
        if text != 'Failed to create Trace file: ' + name:
            raise e2e.Fail('an unwritable trace file shows %r' % text)
    finally:
        again.stop()


def test_reset(session):
    start_host(session, BASE, '/c')
    session.wait_received(b'ready')
    session.click_view()
    keys('alt+c', 'd')
    if not message(session).startswith('This will change all your settings to the default values'):
        raise e2e.Fail('Reset to Default does not ask')
    session.keep_dialog('Tolvi', 'e2e-session-reset')
    dlgdrive(session, 'Tolvi', 'click', YES, 'wait-closed')
    time.sleep(3)
    if window_named('Untitled'):
        raise e2e.Fail('the defaults replaced a connected session')
    session.click_view()
    keys('alt+s', 'd')  # Disconnect
    e2e.wait_until(lambda: 'Disconnected' in session.title(), 'the disconnect')
    keys('alt+c', 'd')
    dlgdrive(session, 'Tolvi', 'click', YES, 'wait-closed')
    e2e.wait_until(lambda: window_named(r'\(Untitled\)'), 'the untitled default configuration')


DATA_FILES = ('map', 'key', 'xlt', 'dyn')


def test_save_as(session):
    session.tolvi(BASE.replace('AutonameFiles=No', 'AutonameFiles=Yes'), '/ip:127.0.0.1', '/tport:2323')
    e2e.wait_until(lambda: session.title(), "Tolvi's window")
    for name in ('copy1', 'copy2'):
        activate(e2e.WINDOW_NAME) if name == 'copy1' else activate(r'\(copy1\.wcf\)')
        keys('alt+f', 'a')
        # The dialog opens in the configuration's folder with its name selected: typed over.
        dlgdrive(session, 'Save As', 'text', OK)
        subprocess.run(['xdotool', 'type', '--delay', '60', name + '.wcf'], check=True)
        if name == 'copy1':
            session.keep_dialog('Save As', 'e2e-session-save-as')
        keys('Return')
        e2e.wait_until(lambda: all(os.path.exists(session.path('%s.%s' % (name, ext))) for ext in DATA_FILES),
                       lambda: 'the data files of %s: %r' % (name, sorted(os.listdir(session.dir))))
    time.sleep(1)
    for ext in DATA_FILES + ('but',):
        first, second = session.read('copy1.' + ext), session.read('copy2.' + ext)
        if first != second or (ext != 'but' and not first):
            raise e2e.Fail('copy1.%s and copy2.%s differ (%d and %d bytes)' % (ext, ext, len(first), len(second)))


def rtf_words(path):
    """The words of the RTF file's text: control words, groups' braces and escapes dropped."""
    import re
    with open(path, encoding='latin1') as f:
        text = f.read()
    text = re.sub(r'\{\\fonttbl.*?\}\}', '', text, flags=re.S)
    text = text.replace('\\\\', '\x00')
    text = re.sub(r'\\([a-z]+)-?\d* ?', lambda m: ' ' if m.group(1) in ('par', 'tab') else '', text)
    text = text.replace('{', '').replace('}', '').replace('\x00', '\\')
    return text.split()


def test_help(session):
    subprocess.run([session.wine_run, 'reg', 'add', 'HKCR\\.txt', '/ve', '/d', 'txtfile', '/f'], capture_output=True)
    session.tolvi(BASE, '/ip:127.0.0.1', '/tport:2323')
    e2e.wait_until(lambda: session.title(), "Tolvi's window")
    activate(e2e.WINDOW_NAME)
    keys('alt+h', 'p')
    result = subprocess.run([session.wine_run, os.path.join(session.bin, 'window_text.exe'), 'progref', 'RICHEDIT',
                             '--wait', '30000'], capture_output=True)
    session.screenshot('e2e-session-help-progref')
    subprocess.run([session.wine_run, os.path.join(session.bin, 'window_text.exe'), 'progref', 'RICHEDIT', '--close'],
                   capture_output=True)
    shown = result.stdout.decode('latin1').split()
    if result.returncode != 0 or shown != rtf_words(os.path.join(session.bin, 'progref.wri')):
        raise e2e.Fail('the guide shows %r (exit %d)' % (' '.join(shown)[:300], result.returncode))

    activate(e2e.WINDOW_NAME)
    keys('alt+h', 'Down', 'Down', 'Return')
    result = subprocess.run([session.wine_run, os.path.join(session.bin, 'window_text.exe'), 'readme', 'Edit',
                             '--wait', '30000'], capture_output=True)
    session.screenshot('e2e-session-help-readme')
    subprocess.run([session.wine_run, os.path.join(session.bin, 'window_text.exe'), 'readme', 'Edit', '--close'],
                   capture_output=True)
    with open(os.path.join(session.bin, 'readme.txt'), 'rb') as f:
        expected = f.read().replace(b'\r\n', b'\n')
    if result.returncode != 0 or result.stdout.replace(b'\r\n', b'\n') != expected:
        raise e2e.Fail('the release notes show %r (exit %d)' % (result.stdout[:300], result.returncode))


CASES = {'locks': test_locks, 'one more': test_one_more, 'file transfer': test_file_transfer,
         'record comm': test_record_comm, 'reset': test_reset, 'save as': test_save_as, 'help': test_help}


def test(session, case):
    CASES[case](session)


if __name__ == '__main__':
    only = os.environ.get('TOLVI_E2E_CASE')
    sys.exit(e2e.run(test, [only] if only else list(CASES)))
