#!/usr/bin/env python3
"""A new user's first sessions with Tolvi.exe: started without arguments, with a damaged
configuration and as the demo; menus chosen with keys, dialogs and message boxes driven by control
id with dlgdrive.

- first: Tolvi.exe without arguments in an empty folder creates tolvi.wcf there and opens the
  first-time setup (OK), then asks for the host. A host typed as address:port of a closed port is
  refused with a message that names the port; the next prompt shows the address alone, and
  address:port of telnetd connects. General Settings shows that address and port apart (what the
  connection uses). File/Save config saves the new configuration, which has no button file, without
  an error; after a change File/Exit asks "Save changes to tolvi.wcf?": Cancel keeps the window,
  Yes saves and ends the program.
- stuck: a save that fails (the new configuration's keyboard map cannot be written: a folder took
  its name after the start) does not trap the user: File/Exit asks "Save changes to tolvi.wcf?", Yes reports
  the failure and keeps the window, and No then ends the program.
- untitled: a configuration without "Version" is reported; the title still begins with "Tolvi - "
  and names the document Untitled. File/Save config asks for a name (Save As, cancelled here).
  Session/One More asks to save the changes: Yes asks for a name
  (the Save As dialog), saves there, and the second Tolvi starts on the saved file; it ends on
  WM_CLOSE (as from its close box).
- keymap: a keyboard map whose key code does not fit in 16 bits ("10070") is refused at start-up
  with message 3 instead of being taken as F1.
- font3270: in a 3270 session with the US English national set, Config/Font (OK on the font in
  use) keeps that set: "!" typed afterwards reaches the host as EBCDIC 5A.
- demo: the demo session (demo.wcf playing demo.trc) names no host in its title.

    first_session_test.py TOLVI_BIN_DIR PROJECT_ROOT

TOLVI_E2E_CASES=first,demo (names of cases) runs some of the cases.
"""
import os
import signal
import subprocess
import sys

import e2e
from session_commands_test import activate, message, no_dialog, window_named
from session_dialogs_test import dlgdrive, keys

YES, NO, CANCEL, OK = 6, 7, 2, 1
FIRST_TIME, HOST_NAME, GENERAL = 'Tolvi - First time setup', 'Host Name', 'General Settings'
HOST_FIELD, GENERAL_HOST, GENERAL_PORT = 3127, 603, 3128

# A host that says so when a session reaches it, then answers every line.
HOST = r'''#!/bin/bash
echo up >"$(dirname "$0")/connected.txt"
printf 'ready\r\n'
while IFS= read -r line; do printf 'got [%s]\r\n' "${line%$'\r'}"; done
'''


def start_bare(session, *args, cwd=None):
    """Tolvi.exe with these arguments in the scratch folder (or cwd), as a user starts it."""
    e2e.forget_window_placement(session.root)
    return session.start([session.wine_run, os.path.join(session.bin, 'Tolvi.exe')] + list(args),
                         cwd=cwd or session.dir, log='tolvi.log')


def title_of(pattern):
    windows = window_named(pattern)
    return e2e.xdotool_out('getwindowname', windows[0]) if windows else ''


def answer_message(session, expected, button):
    text = message(session)
    if text != expected:
        raise e2e.Fail('the message box says %r, not %r' % (text, expected))
    dlgdrive(session, 'Tolvi', 'click', button, 'wait-closed')


def change_and_exit(session, window):
    """A change (another Telnet port in General Settings), then File/Exit."""
    activate(window)
    keys('alt+c', 'g')
    dlgdrive(session, GENERAL, 'settext', GENERAL_PORT, '2424', 'click', OK, 'wait-closed')
    activate(window)
    keys('alt+f', 'x')


def test_first(session):
    port = session.telnetd(HOST)
    closed = e2e.free_port()
    tolvi = start_bare(session)
    window = r'^Tolvi - .*\(tolvi\.wcf\)'
    dlgdrive(session, FIRST_TIME, '--wait', '30000', 'click', OK, 'wait-closed')
    if not os.path.exists(session.path('tolvi.wcf')):
        raise e2e.Fail('tolvi.wcf was not created in the current folder: %r' % os.listdir(session.dir))

    # A new configuration connects at start-up: the host prompt first.
    dlgdrive(session, HOST_NAME, '--wait', '20000', 'settext', HOST_FIELD, '127.0.0.1:%d' % closed)
    dlgdrive(session, HOST_NAME, 'click', OK, 'wait-closed')
    session.keep_dialog('Tolvi', 'e2e-first-cannot-connect')
    answer_message(session, 'Cannot connect to 127.0.0.1:%d' % closed, OK)
    e2e.wait_until(lambda: 'Disconnected' in title_of(window), 'the title "Tolvi - ... Disconnected"')

    activate(window)
    keys('alt+s', 'c')
    shown = dlgdrive(session, HOST_NAME, 'text', HOST_FIELD)[0]
    if shown != '127.0.0.1':
        raise e2e.Fail('the host prompt shows %r after address:port' % shown)
    dlgdrive(session, HOST_NAME, 'settext', HOST_FIELD, '127.0.0.1:%d' % port, 'click', OK, 'wait-closed')
    e2e.wait_until(lambda: os.path.exists(session.path('connected.txt')), 'the session to reach telnetd')
    e2e.wait_until(lambda: 'Disconnected' not in title_of(window) and title_of(window),
                   lambda: 'the connected title (now %r)' % title_of(window))

    activate(window)
    keys('alt+c', 'g')
    host = dlgdrive(session, GENERAL, 'text', GENERAL_HOST)[0]
    shown_port = dlgdrive(session, GENERAL, 'text', GENERAL_PORT)[0]
    session.keep_dialog(GENERAL, 'e2e-first-general')
    dlgdrive(session, GENERAL, 'click', CANCEL, 'wait-closed')
    if (host, shown_port) != ('127.0.0.1', str(port)):
        raise e2e.Fail('General Settings shows host %r and port %r' % (host, shown_port))

    activate(window)
    keys('alt+f', 's')
    saved = lambda: session.read('tolvi.wcf').decode('latin1').replace('\r', '').split('\n')
    e2e.wait_until(lambda: 'TelnetPort=%d' % port in saved() and 'HostName="127.0.0.1"' in saved(),
                   lambda: 'the saved host and port: %r' % saved())
    if not no_dialog(session, 'Tolvi', 3000):
        raise e2e.Fail('File/Save config reports %r' % message(session))
    for ext in ('map', 'key', 'xlt'):
        if not os.path.exists(session.path('tolvi.' + ext)):
            raise e2e.Fail('the new configuration saved no tolvi.%s: %r' % (ext, sorted(os.listdir(session.dir))))

    # A change, then File/Exit: the question names the file.
    change_and_exit(session, window)
    answer_message(session, 'Do you want to disconnect this session and exit ?', YES)
    session.keep_dialog('Tolvi', 'e2e-first-save-changes')
    answer_message(session, 'Save changes to tolvi.wcf?', CANCEL)
    if tolvi.poll() is not None or not window_named(window):
        raise e2e.Fail('Cancel ended the program')
    activate(window)
    keys('alt+f', 'x')
    answer_message(session, 'Save changes to tolvi.wcf?', YES)
    e2e.wait_until(lambda: tolvi.poll() is not None, 'Tolvi to end after Yes', timeout=30)
    if 'TelnetPort=2424' not in saved():
        raise e2e.Fail('Yes did not save: %r' % saved())


def messages_shown(session):
    """Answers with OK every message box that comes within a few seconds; returns their texts."""
    texts = []
    while not no_dialog(session, 'Tolvi', 5000):
        texts.append(message(session))
        dlgdrive(session, 'Tolvi', 'click', OK, 'wait-closed')
    return texts


def test_stuck(session):
    tolvi = start_bare(session)
    window = r'^Tolvi - .*\(tolvi\.wcf\)'
    dlgdrive(session, FIRST_TIME, '--wait', '30000', 'click', OK, 'wait-closed')
    dlgdrive(session, HOST_NAME, '--wait', '20000', 'click', CANCEL, 'wait-closed')
    # The new configuration's data files are written at its first save; the keyboard map's name
    # is taken by a folder now.
    os.mkdir(session.path('tolvi.map'))
    change_and_exit(session, window)
    answer_message(session, 'Save changes to tolvi.wcf?', YES)
    told = messages_shown(session)
    session.screenshot('e2e-first-stuck-save')
    if not told:
        raise e2e.Fail('a save that could not write tolvi.map reported nothing')
    if tolvi.poll() is not None or not window_named(window):
        raise e2e.Fail('the failed save ended the program (it said %r)' % told)
    activate(window)
    keys('alt+f', 'x')
    answer_message(session, 'Save changes to tolvi.wcf?', NO)
    e2e.wait_until(lambda: tolvi.poll() is not None, 'Tolvi to end after No', timeout=30)


def test_untitled(session):
    session.write('broken.wcf', '[Tolvi]\r\nTerminal=2\r\n')
    start_bare(session, session.windows_path('broken.wcf'))
    text = dlgdrive(session, 'Tolvi', '--wait', '30000', 'text', 65535)[0]
    dlgdrive(session, 'Tolvi', 'click', OK, 'wait-closed')
    window = r'\(Untitled\)'
    title = e2e.wait_until(lambda: title_of(window), 'the untitled window')
    if not title.startswith('Tolvi - '):
        raise e2e.Fail('after %r the title reads %r' % (text, title))
    # The defaults connect at start-up and ask for the host first: not now.
    dlgdrive(session, HOST_NAME, '--wait', '20000', 'click', CANCEL, 'wait-closed')

    # File/Save config on the untitled document asks for a name, as File/Save As does.
    activate(window)
    keys('alt+f', 's')
    dlgdrive(session, 'Save As', '--wait', '20000', 'click', CANCEL, 'wait-closed')
    if not title_of(window):
        raise e2e.Fail('the document has a name after the Save As was cancelled')

    activate(window)
    keys('alt+s', 'o')
    if not message(session).startswith(' You must save the current settings'):
        raise e2e.Fail('One More does not ask to save the changes')
    dlgdrive(session, 'Tolvi', 'click', YES, 'wait-closed')
    dlgdrive(session, 'Save As', '--wait', '20000', 'text', OK)
    session.keep_dialog('Save As', 'e2e-first-untitled-save-as')
    subprocess.run(['xdotool', 'type', '--delay', '60', 'saved.wcf'], check=True)
    keys('Return')
    e2e.wait_until(lambda: b'Version=' in session.read('saved.wcf'), 'the configuration saved under its name')
    dlgdrive(session, 'WINDOW TITLE', '--wait', '20000', 'settext', 3126, 'Second', 'click', OK, 'wait-closed')
    second = e2e.wait_until(lambda: window_named('Second'), 'the second session')[0]
    try:
        dlgdrive(session, HOST_NAME, '--wait', '20000', 'click', CANCEL, 'wait-closed')
        title = e2e.xdotool_out('getwindowname', second)
        if '(saved.wcf)' not in title:
            raise e2e.Fail('the second session is titled %r' % title)
        if '(saved.wcf)' not in title_of(r'^Tolvi -   KAVERN'):
            raise e2e.Fail('the first session does not name its saved file')
        if not second_session_pids(session):
            raise e2e.Fail('no process of a Tolvi on saved.wcf')
    finally:
        end_second_session(session)


def second_session_pids(session):
    """The processes of the Tolvi that One More started on saved.wcf (none of them a child of the
    test, so the session's own stop does not reach them)."""
    name = session.windows_path('saved.wcf').lower()
    pids = []
    for pid in os.listdir('/proc'):
        try:
            with open('/proc/%s/cmdline' % pid, 'rb') as f:
                line = f.read().replace(b'\0', b' ').decode('latin1').lower()
        except OSError:
            continue
        if 'tolvi.exe' in line and name in line:
            pids.append(int(pid))
    return pids


def end_second_session(session):
    """Closes the second Tolvi as its close box does (WM_CLOSE): it is disconnected and
    unchanged, so it ends without a question. One that does not end is killed and reported."""
    subprocess.run([session.wine_run, os.path.join(session.bin, 'frame_title.exe'), '--title', 'Second', 'close'],
                   capture_output=True)
    try:
        e2e.wait_until(lambda: not second_session_pids(session), 'the second Tolvi to end on WM_CLOSE', timeout=30)
    except e2e.Fail:
        for pid in second_session_pids(session):
            try:
                os.kill(pid, signal.SIGTERM)
            except OSError:
                pass
        raise


def test_keymap(session):
    session.write('keys.map', 'pckey: F1 code: 10070 tx: wrong\r\npckey: F2 code: 71 tx: right\r\n')
    session.tolvi('[Tolvi]\nVersion=4.5.6.3\nAutonameFiles=No\nPromptForHost=No\nAutoConnect=No\nKeyboardMap=%s\n'
                  % session.windows_path('keys.map').replace('\\', '\\\\'), record=False)
    text = dlgdrive(session, 'Tolvi', '--wait', '30000', 'text', 65535)[0]
    session.keep_dialog('Tolvi', 'e2e-first-key-code')
    dlgdrive(session, 'Tolvi', 'click', OK, 'wait-closed')
    if not text.startswith('Invalid code.'):
        raise e2e.Fail('a key code beyond 16 bits gives %r' % text)
    e2e.wait_until(lambda: session.title(), "Tolvi's window")
    if not no_dialog(session, 'Tolvi', 3000):
        raise e2e.Fail('the second, valid entry was refused too: %r' % message(session))


# A 3270 screen with a label and an input field holding the cursor; the keyboard is restored
# after the client's record.
SCREEN_3270 = "F5 C3 11 40 40 1D F0 'NAME' 1D 40 13\nwait 60\nF1 C2\nsleep 2\n"


def test_font3270(session):
    port = session.tn3270_host(SCREEN_3270)
    session.tolvi('[Tolvi]\nVersion=4.5.6.3\nAutonameFiles=No\nPromptForHost=No\nCountry=1\n'
                  '[3270]\nTerminalFamily3270=1\nCharset3270=5\n', '/ip:127.0.0.1', '/tport:%d' % port, '/c',
                  record=False)
    e2e.wait_until(lambda: session.read('host.log').startswith(b'type '), 'the terminal type at the host')
    # Config/Font/Font for current number of columns, OK on the font in use: the national
    # characters stay those of the session's set (US English: "!" is EBCDIC 5A).
    activate(e2e.WINDOW_NAME)
    keys('alt+c', 'f', 'c')
    dlgdrive(session, 'Font', '--wait', '20000', 'click', OK, 'wait-closed')
    session.click_view()
    subprocess.run(['xdotool', 'type', '--delay', '60', 'a!'], check=True)
    keys('Return')
    record = e2e.wait_until(lambda: session.read('host.log').decode().splitlines()[1:],
                            lambda: 'the Enter record (host log: %r)' % session.read('host.log'), timeout=20)[0]
    if not record.startswith('7D') or not record.endswith('81 5A'):
        raise e2e.Fail('"a!" typed after Config/Font reached the host as %r' % record)


def test_demo(session):
    start_bare(session, 'demo.wcf', '/play:demo.trc', cwd=session.bin)
    title = e2e.wait_until(lambda: title_of(r'\(demo\.wcf\)'), "the demo's window")
    session.screenshot('e2e-first-demo')
    if not title.startswith('Tolvi - ') or 'KAVERN' in title:
        raise e2e.Fail('the demo is titled %r' % title)
    activate(r'\(demo\.wcf\)')
    keys('alt+f', 'x')
    e2e.wait_until(lambda: not window_named(r'\(demo\.wcf\)'), 'the demo to end', timeout=20)


CASES = {'first': test_first, 'stuck': test_stuck, 'untitled': test_untitled, 'keymap': test_keymap,
         'font3270': test_font3270, 'demo': test_demo}


def test(session, case):
    CASES[case](session)


if __name__ == '__main__':
    chosen = os.environ.get('TOLVI_E2E_CASES')
    sys.exit(e2e.run(test, cases=tuple(chosen.split(',')) if chosen else tuple(CASES)))
