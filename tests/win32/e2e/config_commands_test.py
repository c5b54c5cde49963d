#!/usr/bin/env python3
"""Tolvi.exe: the Config menu's settings commands, each opened by its command id (posted to the
main window with clipboard_tool.exe) and driven by control id with dlgdrive.

  cancel   Cancel in each of the seventeen settings dialogs changes nothing: the configuration
           File/Save config writes afterwards is byte for byte the one written before, and no data
           file is written (none of the five data files was marked changed).
  files    Preferences/Files: a changed keyboard-map name makes the next save write that file
           alone; AutonameFiles turned on makes it write all the data files under the
           configuration's name, the same bytes as under their former names.
  values   Phone Number, Modem type, Multimedia, File transfer command, UNIX ENV, Mouse and
           Terminal Printers: values typed into the dialogs are in the saved configuration, and
           after a new start on it the dialogs show them again. DDE: OK ends with the restart
           message, and the name typed is saved.
  limits   what the dialogs take: a modem string and the phone number of 33 characters, a
           trace file name of 81 and an instance count of 32001 or -1 are refused at OK with the
           framework's message (the dialog stays open); 32 and 80 characters and the count 0 are
           saved.
  host     against telnetd: the MouseClick text set in Preferences/Mouse is what a click sends;
           the name given to printer 2 in Preferences/Terminal Printers (a file) is where the
           host's print to printer 2 (ESC [ 6 i) goes.

Screenshots of the dialogs are kept in build/win64/screens.

    config_commands_test.py TOLVI_BIN_DIR PROJECT_ROOT

TOLVI_E2E_CASES=cancel,... runs only those cases.
"""
import os
import re
import subprocess
import sys
import time

import e2e

sys.dont_write_bytecode = True  # no cache of the imported test in the source tree
from colors_test import dlgdrive  # noqa: E402
from settings_dialogs_test import CONFIG  # noqa: E402  (a Telnet session to 127.0.0.1, port to fill in)


OK, CANCEL = 1, 2
FILE_SAVE, CONNECT = 57603, 256

# The seventeen settings commands: command id and the caption of the dialog it opens.
DIALOGS = [
    (119, 'Automatic Login'),
    (32770, 'Colors'),
    (32791, 'Boxes'),
    (32775, 'General Settings'),
    (32772, 'Terminal Configuration'),
    (32776, 'Phone number'),
    (120, 'Host environment table'),
    (118, 'Modem commands'),
    (32773, 'Keyboard Mapping'),
    (32819, 'File name preferences'),
    (32818, 'View Preferences'),
    (32820, 'Mouse'),
    (32824, 'Terminal Printers'),
    (32834, 'DDE Settings'),
    (32838, 'Dynamic Hotspots Settings'),
    (32843, 'Multimedia configuration'),
    (32822, 'File transfer command'),
]
CAPTION = dict(DIALOGS)
FILES, MULTIMEDIA = 32819, 32843

# Preferences/Files: the five data-file names and autoname.
FILE_NAMES = {'map': 3066, 'key': 3070, 'xlt': 3067, 'but': 3073, 'dyn': 3069}
AUTONAME = 3338


def command(session, command_id):
    """Posts a menu command to Tolvi's main window (as its menu item does)."""
    e2e.wait_until(lambda: subprocess.run([session.wine_run, os.path.join(session.bin, 'clipboard_tool.exe'),
                                           'command', str(command_id)], capture_output=True).returncode == 0,
                   "Tolvi's main window for command %d" % command_id)


def open_dialog(session, command_id):
    caption = CAPTION[command_id]
    command(session, command_id)
    dlgdrive(session, caption, '--wait', '20000', 'text', OK)
    return caption


def save(session):
    """File/Save config (enabled once the document is modified); waits until the file has been
    written anew and then stays as it is (the profile is written key by key)."""
    path = session.path(e2e.CONFIG_NAME)
    stamp = os.stat(path).st_mtime_ns
    command(session, FILE_SAVE)
    e2e.wait_until(lambda: os.stat(path).st_mtime_ns != stamp, 'File/Save config to write the file')
    seen = [None, time.monotonic()]

    def settled():
        now = (os.stat(path).st_mtime_ns, os.stat(path).st_size, data_files(session))
        if now != seen[0]:
            seen[:] = [now, time.monotonic()]
        return time.monotonic() - seen[1] > 2
    e2e.wait_until(settled, 'the saved files to settle')
    return session.read(e2e.CONFIG_NAME)


def modify_without_change(session):
    """Multimedia confirmed as it is: the document is modified, no setting changes."""
    caption = open_dialog(session, MULTIMEDIA)
    dlgdrive(session, caption, 'click', OK, 'wait-closed')


def data_files(session):
    return sorted(n for n in os.listdir(session.dir) if os.path.splitext(n)[1] in ('.map', '.key', '.xlt', '.but', '.dyn'))


def start(session, config=None, port=None):
    session.tolvi(config or CONFIG % (port or e2e.free_port()))
    e2e.wait_until(session.title, "Tolvi's window")


def named_files_config(session):
    """The configuration naming the three data files that have keys in the scratch folder (the
    button and hotspot files keep their default names)."""
    # The file writes a backslash twice.
    names = ''.join('%s="%s"\n' % (key, session.windows_path('first.' + ext).replace('\\', '\\\\'))
                    for key, ext in (('KeyboardMap', 'map'), ('TerminalKeyDef', 'key'), ('Translate', 'xlt')))
    return CONFIG % e2e.free_port() + names


def bin_data_files(session):
    return sorted(n for n in os.listdir(session.bin) if os.path.splitext(n)[1] in ('.but', '.dyn'))


def test_cancel(session):
    start(session, named_files_config(session))
    in_bin = bin_data_files(session)
    # The first save rewrites a file Tolvi did not write itself (the profile keeps a box list's
    # trailing blank only once the key exists); the second one is the baseline.
    modify_without_change(session)
    save(session)
    modify_without_change(session)
    before = save(session)
    if data_files(session):
        raise e2e.Fail('a save with no data file changed wrote %r' % data_files(session))
    for command_id, caption in DIALOGS:
        open_dialog(session, command_id)
        if command_id in (32772, 32819, 32824):
            session.keep_dialog(caption, 'e2e-dialog-cancel-%d' % command_id)
        dlgdrive(session, caption, 'click', CANCEL, 'wait-closed')
    modify_without_change(session)
    after = save(session)
    if after != before:
        raise e2e.Fail('Cancel changed the configuration:\nbefore:\n%s\nafter:\n%s'
                       % (before.decode('latin1'), after.decode('latin1')))
    if data_files(session) or bin_data_files(session) != in_bin:
        raise e2e.Fail('Cancel marked data files changed; the save wrote %r'
                       % (data_files(session) + sorted(set(bin_data_files(session)) - set(in_bin))))
    print('cancel: 17 dialogs cancelled, configuration identical (%d bytes), no data file written' % len(after))


def test_files(session):
    start(session, named_files_config(session))
    caption = open_dialog(session, FILES)
    dlgdrive(session, caption, 'settext', FILE_NAMES['map'], session.windows_path('second.map'),
             'click', OK, 'wait-closed')
    save(session)
    if data_files(session) != ['second.map']:
        raise e2e.Fail('a changed keyboard-map name wrote %r' % data_files(session))

    caption = open_dialog(session, FILES)
    dlgdrive(session, caption, 'click', AUTONAME)
    session.keep_dialog(caption, 'e2e-dialog-files-autoname')
    dlgdrive(session, caption, 'click', OK, 'wait-closed')
    save(session)
    stem = os.path.splitext(e2e.CONFIG_NAME)[0]
    autonamed = [n for n in data_files(session) if n.startswith(stem + '.')]
    for ext in ('map', 'key', 'xlt'):
        if '%s.%s' % (stem, ext) not in autonamed:
            raise e2e.Fail('autoname on: the save did not write %s.%s (written: %r)' % (stem, ext, data_files(session)))

    # Autoname off again with names of their own: the same tables are written under those names.
    caption = open_dialog(session, FILES)
    dlgdrive(session, caption, 'click', AUTONAME)
    for ext in ('map', 'key', 'xlt'):
        dlgdrive(session, caption, 'settext', FILE_NAMES[ext], session.windows_path('third.' + ext))
    dlgdrive(session, caption, 'click', OK, 'wait-closed')
    save(session)
    for ext in ('map', 'key', 'xlt'):
        ours, named = session.read('third.' + ext), session.read('%s.%s' % (stem, ext))
        if not ours or ours != named:
            raise e2e.Fail('%s.%s (%d bytes) differs from third.%s (%d bytes)' % (stem, ext, len(named), ext, len(ours)))
    if session.read('second.map') != session.read(stem + '.map'):
        raise e2e.Fail('the keyboard map written under the configuration name differs from second.map')
    print('files: a changed name wrote second.map alone; autoname wrote %r, the same bytes as under other names'
          % autonamed)


# Dialog values: (command, [(verb, control, value)], [(key, saved value)]).
VALUES = [
    (32776, [('settext', 1091, '555 0100'), ('settext', 1092, '45'), ('check', 1046, None), ('check', 3342, None)],
     [('PhoneNumber', '555 0100'), ('DialTimeout', '45'), ('DialEnable', 'Yes'), ('TcpipAutodial', '2')]),
    (118, [('settext', 1103, 'ATZ&F1'), ('settext', 1099, 'ATDT'), ('settext', 1107, 'CONNECT'), ('check', 1046, None)],
     [('ModemInit', 'ATZ&F1'), ('DialPrefix', 'ATDT'), ('ModemConnect', 'CONNECT'), ('ModemEnable', 'Yes')]),
    (32843, [('check', 3106, None), ('check', 3109, None), ('settext', 3141, '17')],
     [('MciErrorReply', 'Yes'), ('MciShowError', 'Yes'), ('MciWaitIfBusy', '17')]),
    (32822, [('settext', 3174, 'ftpclient.exe -s'), ('settext', 3175, r'C:\transfer'), ('check', 3176, None),
             ('check', 3335, None)],
     [('FtpCommand', 'ftpclient.exe -s'), ('FtpDirectory', r'C:\transfer'), ('FtpEnable', 'Yes'), ('XferType', '1')]),
    (120, [('check', 1046, None), ('settext', 1088, 'LANG=C TZ=UTC')],
     [('UnixEnv', 'LANG=C TZ=UTC'), ('UnixEnvEnable', 'Yes')]),
    (32820, [('check', 3172, None), ('settext', 3170, 'clk%row%,%col%;'), ('settext', 3171, 'dbl;')],
     [('MouseClick', 'clk%row%,%col%;'), ('MouseDoubleClick', 'dbl;'), ('EnableSendMousePos', 'Yes')]),
    (32824, [('type', 3186, 'Office,winspool,LPT2:'), ('settext', 3327, '3')],
     [('Printer2', 'Office,winspool,LPT2:'), ('DelaySpool2', '3')]),
]


def dlgdrive_closed(session, caption):
    """Waits until no dialog of that caption is open."""
    e2e.wait_until(lambda: subprocess.run([session.wine_run, os.path.join(session.bin, 'dlgdrive.exe'), caption,
                                           '--wait', '0', 'text', str(OK)], capture_output=True).returncode == 2,
                   'the dialog %r to close' % caption)


def check(session, caption, control):
    """A check box or radio button turned on (a click would turn a check box off)."""
    if dlgdrive(session, caption, 'checked', control)[0] != '1':
        dlgdrive(session, caption, 'click', control)


def setting(text, key):
    """A key's value as the file gives it: quotes removed, a backslash written twice read once."""
    match = re.search(r'^%s=(.*?)\r?$' % re.escape(key), text, re.M)
    return match.group(1).strip('"').replace('\\\\', '\\') if match else None


def test_values(session):
    start(session)
    for command_id, steps, _ in VALUES:
        caption = open_dialog(session, command_id)
        for verb, control, value in steps:
            if verb == 'check':
                check(session, caption, control)
            else:
                dlgdrive(session, caption, verb, control, value)
        dlgdrive(session, caption, 'click', OK, 'wait-closed')
    # DDE: OK always ends with the restart message (answered here), the names are stored.
    caption = open_dialog(session, 32834)
    dlgdrive(session, caption, 'settext', 3187, 'MYSERVICE', 'postclick', OK)
    told = dlgdrive(session, 'Tolvi', '--wait', '10000', 'text', 65535)[0]
    if told != 'Restart Tolvi for new DDE settings to take effect.':
        raise e2e.Fail('DDE settings after OK said %r' % told)
    session.keep_dialog('Tolvi', 'e2e-message-dde-restart')
    dlgdrive(session, 'Tolvi', 'click', OK, 'wait-closed')
    dlgdrive_closed(session, caption)
    saved = save(session).decode('latin1')
    if setting(saved, 'DdeServerServiceName') != 'MYSERVICE':
        raise e2e.Fail('the saved configuration has DdeServerServiceName=%r' % setting(saved, 'DdeServerServiceName'))
    for _, _, keys in VALUES:
        for key, value in keys:
            if setting(saved, key) != value:
                raise e2e.Fail('the saved configuration has %s=%r, not %r' % (key, setting(saved, key), value))

    # A new start on the saved file: the dialogs show the values again.
    stop_tolvi(session)
    session.start([session.wine_run, 'Tolvi.exe', session.windows_path(e2e.CONFIG_NAME)], cwd=session.bin,
                  log='tolvi2.log')
    e2e.wait_until(session.title, "Tolvi's window")
    for command_id, steps, _ in VALUES:
        caption = open_dialog(session, command_id)
        if command_id == 32776:
            session.keep_dialog(caption, 'e2e-dialog-phone-read-back')
        for verb, control, value in steps:
            shown = dlgdrive(session, caption, 'checked' if verb == 'check' else 'text', control)[0]
            if shown != ('1' if value is None else value):
                raise e2e.Fail('%s: control %d shows %r after a new start, not %r' % (caption, control, shown, value))
        dlgdrive(session, caption, 'click', CANCEL, 'wait-closed')
    print('values: %d settings saved and shown again after a new start' % sum(len(k) for _, _, k in VALUES))


# What the dialogs take: (command, the check box that makes the control take text, if any, the
# control, refused text, the message, longest text, its key).
LIMITS = [
    (118, None, 1103, 'I' * 33, 'Please enter no more than 32 characters.', 'I' * 32, 'ModemInit'),
    (118, None, 1101, 'H' * 33, 'Please enter no more than 32 characters.', 'H' * 32, 'HangupPrefix'),
    (32776, None, 1091, '5' * 33, 'Please enter no more than 32 characters.', '5' * 32, 'PhoneNumber'),
    (32819, None, 3071, 't' * 81, 'Please enter no more than 80 characters.', 't' * 80, 'TraceFile'),
    (32818, 3064, 3295, '-1', 'Please enter an integer between 0 and 32000.', '32000', 'MaxInstance'),
    (32818, 3064, 3295, '32001', 'Please enter an integer between 0 and 32000.', '0', 'MaxInstance'),
]


def test_limits(session):
    start(session)
    for command_id, switch, control, refused, told, longest, _ in LIMITS:
        caption = open_dialog(session, command_id)
        if switch:
            check(session, caption, switch)
        dlgdrive(session, caption, 'settext', control, refused, 'postclick', OK)
        text = dlgdrive(session, 'Tolvi', '--wait', '10000', 'text', 65535)[0]
        if text != told:
            raise e2e.Fail('%s: %r in control %d gave %r at OK, not %r' % (caption, refused, control, text, told))
        dlgdrive(session, 'Tolvi', 'click', OK, 'wait-closed')
        dlgdrive(session, caption, 'settext', control, longest, 'click', OK, 'wait-closed')
    saved = save(session).decode('latin1')
    for key, value in {key: value for *_, value, key in LIMITS}.items():  # the last value of each
        if setting(saved, key) != value:
            raise e2e.Fail('the saved configuration has %s=%r, not %r' % (key, setting(saved, key), value))


def stop_tolvi(session):
    """Ends this test's Tolvi (by its window, as the user would) and waits until it has gone."""
    command(session, 57665)  # File/Exit
    e2e.wait_until(lambda: not session.title(), 'Tolvi to end')


LOGIN = r'''#!/bin/bash
dir="$(dirname "$0")"
stty raw -echo
printf 'READY\r\n'
IFS= read -r -d ';' click
printf '%s' "$click" >"$dir/click.txt"
printf '\033[6iHOSTPRINT %s\r\n\033[4i' "$click"
printf 'PRINTED\r\n'
sleep 30
'''


def test_host(session):
    port = session.telnetd(LOGIN)
    start(session, port=port)
    target = session.windows_path('printer2.txt')
    caption = open_dialog(session, 32820)
    check(session, caption, 3172)
    dlgdrive(session, caption, 'settext', 3170, 'clk%row%,%col%;', 'click', OK, 'wait-closed')
    caption = open_dialog(session, 32824)
    dlgdrive(session, caption, 'type', 3186, target)
    session.keep_dialog(caption, 'e2e-dialog-terminal-printers')
    dlgdrive(session, caption, 'click', OK, 'wait-closed')
    command(session, CONNECT)
    session.wait_received(b'READY')
    session.click_view()
    click = e2e.wait_until(lambda: session.read('click.txt'), 'the host to get the click').decode('latin1')
    if not re.fullmatch(r'clk\d+,\d+', click):
        raise e2e.Fail('a click sent %r, not the MouseClick text' % click)
    session.wait_received(b'PRINTED')
    printed = e2e.wait_until(lambda: session.read('printer2.txt'), 'the host print in ' + target)
    if printed.replace(b'\r', b'') != ('HOSTPRINT %s\n' % click).encode():
        raise e2e.Fail('printer 2 (%s) got %r' % (target, printed))
    print('host: a click sent %r; printer 2 got %r' % (click, printed))


CASES = {'cancel': test_cancel, 'files': test_files, 'values': test_values, 'limits': test_limits,
         'host': test_host}


def test(session, case):
    CASES[case](session)


if __name__ == '__main__':
    chosen = os.environ.get('TOLVI_E2E_CASES')
    sys.exit(e2e.run(test, cases=tuple(chosen.split(',')) if chosen else tuple(CASES)))
