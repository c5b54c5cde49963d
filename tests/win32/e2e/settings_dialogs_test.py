#!/usr/bin/env python3
"""Tolvi.exe set up through its settings dialogs, opened from the menu with keys and driven by
control id with dlgdrive:

  telnet      configured for a closed port, General Settings gets 127.0.0.1 and telnetd's port,
              Session/Connect: the log-in's report arrives (TERM=vt100); Terminal Emulation set
              to "DEC vt220", General Settings to a second telnetd, Connect again: TERM=vt220.
  serial      General Settings set to Async on COM7, which the test maps to a pty whose other
              end is the modem simulator, at 9600: Connect dials, the simulator's answer arrives
              and is painted.
  first_time  started on a missing configuration, the first-time setup appears; the 3270 family
              and "Model 2 (24x80) IBM-3278-2" chosen and File/Save config: the file holds the
              3270 family and model and "IBM Mainframe" as platform.

Screenshots of the dialogs are kept in build/win64/screens.

    settings_dialogs_test.py TOLVI_BIN_DIR PROJECT_ROOT
"""
import os
import subprocess
import sys
import time

import e2e

sys.dont_write_bytecode = True  # no cache of the imported test in the source tree
from colors_test import dlgdrive, menu_keys  # noqa: E402

LOGIN = r'''#!/bin/bash
echo "$TERM" >>"$(dirname "$0")/terms.txt"
printf 'REPORT TERM=%s END\n' "$TERM"
sleep 1
'''

CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
AutoConnect=No
CursorStyle=0
ComType=2
HostName="127.0.0.1"
TelnetPort=%d
Terminal=1
'''

GENERAL = 'General Settings'
TERMINAL = 'Terminal Configuration'
FIRST_TIME = 'Tolvi - First time setup'

# Control ids of the dialogs.
ASYNC, TELNET = 115, 116
PORT, BAUD, HOST_NAME, TELNET_PORT = 544, 545, 603, 3128
EMULATION, CHARSET, PLATFORM, FAMILY = 601, 1047, 605, 3117
OK, NO = 1, 7


def activate(pattern=e2e.WINDOW_NAME):
    """Gives Tolvi's window the keyboard (a disconnected view shows no caret to wait for)."""
    window = e2e.wait_until(lambda: e2e.xdotool_out('search', '--onlyvisible', '--name', pattern),
                            "Tolvi's window").split()[0]
    subprocess.run(['xdotool', 'windowactivate', '--sync', window], capture_output=True)
    subprocess.run(['xdotool', 'mousemove', '--window', window, '300', '200', 'click', '1'], capture_output=True)
    time.sleep(0.3)


def open_dialog(session, keys, caption):
    """Opens a dialog with the menu keys; again when the keys went astray (the window had not the
    keyboard yet)."""
    for attempt in range(3):
        activate()
        menu_keys(*keys)
        result = subprocess.run([session.wine_run, os.path.join(session.bin, 'dlgdrive.exe'), caption, '--wait', '5000',
                                 'text', str(OK)], capture_output=True)
        if result.returncode == 0:
            return
    raise e2e.Fail('the dialog %r did not open from the menu' % caption)


def entry(session, caption, control, text):
    """The index of the list entry showing text."""
    count = int(dlgdrive(session, caption, 'count', control)[0])
    for i in range(count):
        if dlgdrive(session, caption, 'item', control, i)[0] == text:
            return i
    raise e2e.Fail('%s: no entry %r in list %d' % (caption, text, control))


def connect(session):
    activate()
    menu_keys('alt+s', 'c')


def free_closed_port():
    return e2e.free_port()


def test_telnet(session):
    session.tolvi(CONFIG % free_closed_port())
    e2e.wait_until(session.title, "Tolvi's window")
    port = session.telnetd(LOGIN)
    open_dialog(session, ('alt+c', 'g'), GENERAL)
    if dlgdrive(session, GENERAL, 'checked', TELNET)[0] != '1':
        raise e2e.Fail('the session is not a Telnet session')
    dlgdrive(session, GENERAL, 'settext', HOST_NAME, '127.0.0.1', 'settext', TELNET_PORT, port)
    session.keep_dialog(GENERAL, 'e2e-dialog-general')
    dlgdrive(session, GENERAL, 'click', OK, 'wait-closed')
    connect(session)
    session.wait_received(b'REPORT TERM=vt100 END')

    # The host hangs up after its report; the terminal becomes a vt220 and calls another host.
    e2e.wait_until(lambda: 'Disconnected' in session.title(), 'the host to hang up')
    open_dialog(session, ('alt+c', 't'), TERMINAL)
    dlgdrive(session, TERMINAL, 'pick', EMULATION, entry(session, TERMINAL, EMULATION, 'DEC vt220'))
    session.keep_dialog(TERMINAL, 'e2e-dialog-terminal')
    dlgdrive(session, TERMINAL, 'postclick', OK)
    # A new emulation: its default files are offered (message 67); not now.
    dlgdrive(session, 'Tolvi', '--wait', '15000', 'click', NO, 'wait-closed')
    port = session.telnetd(LOGIN)
    open_dialog(session, ('alt+c', 'g'), GENERAL)
    dlgdrive(session, GENERAL, 'settext', TELNET_PORT, port, 'click', OK, 'wait-closed')
    connect(session)
    # The comm recording ended with the first connection: the log-in's own record tells.
    e2e.wait_until(lambda: session.read('terms.txt').split() == [b'vt100', b'vt220'],
                   lambda: 'the second log-in to report vt220 (reported: %r)' % session.read('terms.txt'))


SERIAL_CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
AutoConnect=No
CursorStyle=0
ComType=2
HostName="127.0.0.1"
Port=1
BaudRateLong=300
FlowCtrl=0
DialEnable=Yes
ModemEnable=No
PhoneNumber="555"
DialTimeout=30
'''
COM = 'COM7'
BANNER = b'Welcome to the modem host'


def wine(session, *args):
    subprocess.run(['bash', '-c', 'source "$0/scripts/wine-env"; "$WINE64" "$@"', session.root] + list(args),
                   capture_output=True)


def restart_wineserver(session):
    subprocess.run(['bash', '-c', 'source "$0/scripts/wine-env"; "$WINESERVER" -k; "$WINESERVER" -w; "$WINE64" cmd /c exit',
                    session.root], capture_output=True)


def map_port(session, device):
    """Maps COM to the pty; the mapping is read when the prefix's server starts."""
    wine(session, 'reg', 'add', r'HKLM\Software\Wine\Ports', '/v', COM, '/d', os.path.realpath(device), '/f')
    restart_wineserver(session)
    prefix = os.environ.get('WINEPREFIX', os.path.join(session.root, 'build', 'win64', 'wineprefix'))
    link = os.path.join(prefix, 'dosdevices', COM.lower())
    if not os.path.lexists(link):
        raise e2e.Fail('Wine did not map %s' % COM)
    return link


def unmap_port(session, link):
    wine(session, 'reg', 'delete', r'HKLM\Software\Wine\Ports', '/v', COM, '/f')
    try:
        os.remove(link)
    except OSError:
        pass


def test_serial(session):
    line, modem = session.path('com7'), session.path('modem')
    session.start(['socat', 'PTY,link=%s,raw,echo=0' % line, 'PTY,link=%s,raw,echo=0' % modem], log='socat.log')
    e2e.wait_until(lambda: os.path.exists(line) and os.path.exists(modem), 'the pty pair', timeout=10)
    session.start(['python3', os.path.join(session.root, 'tests', 'peers', 'modem_sim.py'), modem, session.dir,
                   '--dial-delay', '0.5', '--banner', '\r\nWelcome to the modem host\r\n'], log='modem.log')
    fixture = session.path('modem_lines.so')
    subprocess.run(['cc', '-shared', '-fPIC', '-O2', '-o', fixture,
                    os.path.join(session.root, 'tests', 'fixtures', 'modem_lines.c'), '-ldl'], check=True)
    link = map_port(session, line)
    try:
        dial_through_the_dialog(session, fixture, line)
    except e2e.Fail:
        print('screen: ' + session.screenshot('settings_dialogs_serial'))
        raise
    finally:
        unmap_port(session, link)
        restart_wineserver(session)


def dial_through_the_dialog(session, fixture, line):
    session.tolvi(SERIAL_CONFIG, env={'LD_PRELOAD': fixture, 'TOLVI_MODEM_DIR': session.dir,
                                      'TOLVI_MODEM_PTY': os.path.realpath(line)})
    e2e.wait_until(session.title, "Tolvi's window")
    open_dialog(session, ('alt+c', 'g'), GENERAL)
    ports = int(dlgdrive(session, GENERAL, 'count', PORT)[0])
    if ports != 9 or dlgdrive(session, GENERAL, 'item', PORT, 8)[0] != 'COM9':
        raise e2e.Fail('the port list does not offer COM1-COM9')
    dlgdrive(session, GENERAL, 'click', ASYNC, 'pick', PORT, entry(session, GENERAL, PORT, COM),
             'pick', BAUD, entry(session, GENERAL, BAUD, '9600'))
    session.keep_dialog(GENERAL, 'e2e-dialog-general-async')
    dlgdrive(session, GENERAL, 'click', OK, 'wait-closed')
    e2e.wait_until(lambda: COM in session.title(), 'the title to name ' + COM, timeout=20)
    connect(session)
    session.wait_received(BANNER)
    rows, cursor = session.termfeed(session.received(), 1)
    if not any('CONNECT 9600' in row for row in rows):
        raise e2e.Fail('the modem did not answer: %r' % rows[:6])
    session.wait_painted(rows, cursor)


def test_first_time(session):
    e2e.forget_window_placement(session.root)
    session.start([session.wine_run, os.path.join(session.bin, 'Tolvi.exe')], cwd=session.dir, log='tolvi.log')
    dlgdrive(session, FIRST_TIME, '--wait', '30000', 'text', OK)
    dlgdrive(session, FIRST_TIME, 'click', FAMILY)
    platform = dlgdrive(session, FIRST_TIME, 'selection', PLATFORM)[0]
    model = dlgdrive(session, FIRST_TIME, 'selection', EMULATION)[0]
    if dlgdrive(session, FIRST_TIME, 'item', PLATFORM, platform)[0] != 'IBM Mainframe':
        raise e2e.Fail('the 3270 family does not select "IBM Mainframe"')
    if dlgdrive(session, FIRST_TIME, 'item', EMULATION, model)[0] != 'Model 2 (24x80) IBM-3278-2':
        raise e2e.Fail('the 3270 family does not select model 2')
    session.keep_dialog(FIRST_TIME, 'e2e-dialog-first-time')
    dlgdrive(session, FIRST_TIME, 'click', OK, 'wait-closed')
    # A new configuration connects at start-up and asks for the host first: not now.
    subprocess.run([session.wine_run, os.path.join(session.bin, 'dlgdrive.exe'), 'Host Name', '--wait', '10000',
                    'click', '2', 'wait-closed'], capture_output=True)
    activate(r'^Tolvi.*\(tolvi\.wcf\)')
    menu_keys('alt+f', 's')
    saved = e2e.wait_until(lambda: b'TerminalFamily3270' in session.read('tolvi.wcf') and session.read('tolvi.wcf'),
                           'the saved configuration')
    text = saved.decode('latin1')
    for line in ('TerminalFamily3270=1', 'Terminal3270=16', 'Platform=9'):
        if line not in text.replace('\r', '').split('\n'):
            raise e2e.Fail('the saved configuration lacks %r:\n%s' % (line, text))


CASES = {'telnet': test_telnet, 'serial': test_serial, 'first_time': test_first_time}


def test(session, case):
    CASES[case](session)


if __name__ == '__main__':
    # TOLVI_E2E_CASES=serial,... runs only those cases.
    chosen = os.environ.get('TOLVI_E2E_CASES')
    sys.exit(e2e.run(test, cases=tuple(chosen.split(',')) if chosen else tuple(CASES)))
