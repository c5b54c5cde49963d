#!/usr/bin/env python3
"""Config/General Settings and Config/Terminal Emulation in Tolvi.exe, opened from the menu with
keys and driven by control id with dlgdrive, against telnetd and the loopback tn3270 host:

  general   a session for a host that does not exist, with BaudRateLong=57600 (not in the
            list): the list shows no rate, OK keeps 57600 (saved file); the new host name and
            Telnet port reach telnetd at the next Connect. Then, with the session's translate
            file changed on disk and the title made stale from outside (frame_title.exe), only the baud rate
            changed: the title is built again and the host's "x" shows as the new table's "q".
            Changes cancelled in both dialogs reach no saved file. Language Deutsch: the menu
            bar is the German one (its Konfiguration menu, opened with
            Alt+K, opens General Settings with A).
  mode3270  the 3270 box checked (the default-files offer answered No): the next Connect
            announces IBM-3278-2 to the tn3270 host.
  screen    vt220 (the default-files offer, message 67, answered No), 132 columns, 25 rows, a
            new history size, Tabs "1,9,17" and an AnswerBack: the host's cells at row 25 and
            column 132 are painted (cell grid read from the window), its tabs land at columns 0,
            8 and 16, and its ENQ is answered with the AnswerBack.

Screenshots of the dialogs are kept in build/win64/screens.

    general_terminal_test.py TOLVI_BIN_DIR PROJECT_ROOT
"""
import os
import re
import subprocess
import sys

import e2e

sys.dont_write_bytecode = True  # no cache of the imported tests in the source tree
from colors_test import dlgdrive, menu_keys  # noqa: E402
from keyboard_map_test import LOGIN as SHELL_LOGIN, screen_rows  # noqa: E402
from settings_dialogs_test import GENERAL, TERMINAL, activate, connect, entry, open_dialog  # noqa: E402

OK, CANCEL, YES, NO = 1, 2, 6, 7
# General Settings.
ASYNC, TELNET, BAUD, HOST_NAME, TELNET_PORT, FAMILY = 115, 116, 545, 603, 3128, 3117
PLATFORM, COUNTRY, LANGUAGE = 605, 606, 607
# Terminal Configuration.
EMULATION, COLS_132, ROWS_25, ANSWERBACK, HISTORY_ROWS, TABS = 601, 3042, 3040, 3139, 3277, 3140
MESSAGE_TEXT = 65535  # the text of a message box
TOLVI_BOX = 'Tolvi'


def set_title(session, text):
    result = subprocess.run([session.wine_run, os.path.join(session.bin, 'frame_title.exe'), '--title', e2e.CONFIG_NAME,
                             'set', text], capture_output=True)
    if result.returncode != 0:
        raise e2e.Fail('frame_title could not set the title: exit %d' % result.returncode)


def saved_setting(session, name, file_menu='alt+f'):
    """The setting as File/Save config writes it (the file is removed first, so that only the
    saved one is read). file_menu: the key of the File menu in the menu's language."""
    os.remove(session.path(e2e.CONFIG_NAME))
    menu_keys(file_menu, 's')
    pattern = re.compile(r'^%s=(.*)$' % name, re.M)

    def written():
        found = pattern.search(session.saved_config())
        return found.group(1) if found else None
    return e2e.wait_until(written, 'File/Save config to write %s' % name, every=0.5)


def answer_offer(session, answer):
    """The default-files offer (message 67) that the last OK asked: read and answered."""
    text = ' '.join(dlgdrive(session, TOLVI_BOX, '--wait', '15000', 'text', MESSAGE_TEXT))
    if 'Load its default Keyboard map' not in text:
        raise e2e.Fail('the box does not offer the default files: %r' % text)
    session.keep_dialog(TOLVI_BOX, 'e2e-dialog-offer-67')
    dlgdrive(session, TOLVI_BOX, 'click', answer, 'wait-closed')


GENERAL_CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=Yes
PromptForHost=No
AutoConnect=No
CursorStyle=0
ComType=2
HostName="nowhere.invalid"
TelnetPort=%d
BaudRateLong=57600
Terminal=2
Platform=3
Charset=2
Language=1
TitleHostName=Yes
[DDE]
DdeServerEnable=Yes
'''


def test_general(session):
    port = session.telnetd(SHELL_LOGIN)
    # The session's own translate tables: both the identity.
    with open(session.path('tolvi-e2e.xlt'), 'wb') as f:
        f.write(bytes(range(256)) * 2)
    session.tolvi(GENERAL_CONFIG % e2e.free_port())
    e2e.wait_until(session.title, "Tolvi's window")
    open_dialog(session, ('alt+c', 'g'), GENERAL)
    if dlgdrive(session, GENERAL, 'selection', BAUD)[0] != '-1':
        raise e2e.Fail('a rate of 57600, not in the list, shows as one of its rates')
    dlgdrive(session, GENERAL, 'settext', HOST_NAME, '127.0.0.1', 'settext', TELNET_PORT, port)
    session.keep_dialog(GENERAL, 'e2e-dialog-general-57600')
    dlgdrive(session, GENERAL, 'click', OK, 'wait-closed')
    activate()
    if saved_setting(session, 'BaudRateLong') != '57600':
        raise e2e.Fail('OK did not keep the rate of 57600: %r' % session.saved_config())

    # The translate file changes on disk: inbound "x" becomes "q". The title is made stale.
    with open(session.path('tolvi-e2e.xlt'), 'wb') as f:
        incoming = bytearray(range(256))
        incoming[ord('x')] = ord('q')
        f.write(bytes(range(256)) + bytes(incoming))
    built = session.title()
    stale = 'Tolvi stale (%s)' % e2e.CONFIG_NAME
    set_title(session, stale)
    e2e.wait_until(lambda: session.title() == stale, 'the title to be made stale')
    # Only the rate: the serial group is open to it while Async is chosen, and Telnet is chosen
    # again before OK.
    open_dialog(session, ('alt+c', 'g'), GENERAL)
    dlgdrive(session, GENERAL, 'click', ASYNC, 'pick', BAUD, entry(session, GENERAL, BAUD, '19.2k'),
             'click', TELNET, 'click', OK, 'wait-closed')
    e2e.wait_until(lambda: session.title() == built,
                   lambda: 'the title to be built again (%r, was %r)' % (session.title(), built))

    # The new host name and port reach telnetd; the tables loaded by that OK show the host's "x"
    # as "q".
    activate()
    connect(session)
    session.wait_received(b'tolvi$ ')
    session.click_view()
    mark = len(session.received())
    session.type_line("printf '<%s>\\n' xyx")
    session.wait_received(b'<xyx>', mark)
    e2e.wait_until(lambda: any('<qyq>' in row for row in screen_rows(session)),
                   lambda: 'the host\'s "xyx" to show as "qyq":\n%s' % '\n'.join(screen_rows(session)))
    if saved_setting(session, 'BaudRateLong') != '19200':
        raise e2e.Fail('the rate of 19.2k was not stored')
    before = session.saved_config()

    # Cancel in both dialogs after changes: nothing of them reaches the next saved file.
    open_dialog(session, ('alt+c', 'g'), GENERAL)
    dlgdrive(session, GENERAL, 'pick', LANGUAGE, 5,  # Italiano
             'pick', PLATFORM, entry(session, GENERAL, PLATFORM, 'Linux'), 'pick', COUNTRY, 1,
             'click', CANCEL, 'wait-closed')
    open_dialog(session, ('alt+c', 't'), TERMINAL)
    dlgdrive(session, TERMINAL, 'pick', EMULATION, entry(session, TERMINAL, EMULATION, 'DEC vt100'),
             'click', COLS_132, 'settext', TABS, '3,5', 'settext', ANSWERBACK, 'nope', 'settext', HISTORY_ROWS, '7',
             'click', CANCEL, 'wait-closed')

    # Deutsch: the menu bar becomes the German one, whose "&Konfiguration" menu opens General
    # Settings with "&Allgemeine Einstellungen..." (the English bar has no entry on Alt+K).
    open_dialog(session, ('alt+c', 'g'), GENERAL)
    dlgdrive(session, GENERAL, 'pick', LANGUAGE, entry(session, GENERAL, LANGUAGE, 'Deutsch'), 'click', OK, 'wait-closed')
    activate()
    menu_keys('alt+k')
    session.screenshot('e2e-menu-german')
    menu_keys('a')
    dlgdrive(session, GENERAL, '--wait', '10000', 'click', CANCEL, 'wait-closed')
    activate()
    if saved_setting(session, 'Language', file_menu='alt+d') != '49':  # "&Datei"
        raise e2e.Fail('Deutsch was not stored')
    after = session.saved_config()
    changed = set(before.split('\n')) ^ set(after.split('\n'))
    if any(not line.startswith('Language=') for line in changed):
        raise e2e.Fail('more than the language changed after two cancelled dialogs: %r' % sorted(changed))


MODE3270_CONFIG = '''[Tolvi]
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


def test_mode3270(session):
    port = session.tn3270_host("F5 C3 11 40 40 'HELLO' \nsleep 20\n")
    session.tolvi(MODE3270_CONFIG % port)
    e2e.wait_until(session.title, "Tolvi's window")
    open_dialog(session, ('alt+c', 'g'), GENERAL)
    dlgdrive(session, GENERAL, 'click', FAMILY)
    if dlgdrive(session, GENERAL, 'checked', FAMILY)[0] != '1':
        raise e2e.Fail('the 3270 box did not stay checked for a Telnet session')
    dlgdrive(session, GENERAL, 'postclick', OK)
    answer_offer(session, NO)
    activate()
    connect(session)
    e2e.wait_until(lambda: session.read('host.log').startswith(b'type '), 'the terminal type at the host')
    announced = session.read('host.log').split(b'\n')[0]
    if announced != b'type IBM-3278-2':
        raise e2e.Fail('the connection did not start tn3270: %r' % announced)


SCREEN_LOGIN = r'''#!/bin/bash
dir="$(dirname "$0")"
stty -icanon -echo min 1
printf 'READY\r\n'
while [ ! -e "$dir/go" ]; do sleep 0.2; done
printf '\033[2J\033[1;1Hx\tT\tU\033[25;1HBOTTOM\033[25;132HZ\033[1;1H'
while [ ! -e "$dir/enq" ]; do sleep 0.2; done
printf '\005'
IFS= read -r -n 4 -t 20 answer
printf 'ANSWER=[%s]\r\n' "$answer"
printf '\033[1;1H'
sleep 60
'''

SCREEN_CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
CursorStyle=0
ComType=2
Terminal=1
Platform=3
Tabs="1,41"
HistoryRows=50
[DDE]
DdeServerEnable=Yes
'''


def test_screen(session):
    port = session.telnetd(SCREEN_LOGIN)
    session.tolvi(SCREEN_CONFIG, '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    session.wait_received(b'READY')
    open_dialog(session, ('alt+c', 't'), TERMINAL)
    # The emulation first: choosing it sets the rows by its rule.
    dlgdrive(session, TERMINAL, 'pick', EMULATION, entry(session, TERMINAL, EMULATION, 'DEC vt220'))
    dlgdrive(session, TERMINAL, 'click', COLS_132, 'click', ROWS_25, 'settext', HISTORY_ROWS, '120',
             'settext', TABS, '1,9,17', 'settext', ANSWERBACK, 'ab-7')
    session.keep_dialog(TERMINAL, 'e2e-dialog-terminal-132x25')
    dlgdrive(session, TERMINAL, 'postclick', OK)
    answer_offer(session, NO)

    with open(session.path('go'), 'w'):
        pass
    session.wait_received(b'BOTTOM')
    session.click_view()
    last = [None]

    def painted():
        result = subprocess.run([session.wine_run, os.path.join(session.bin, 'view_cells.exe'), '--title',
                                 '(%s)' % e2e.CONFIG_NAME, '0', '0', '25', '132'], capture_output=True)
        cells = result.stdout.decode('latin1').replace('\r', '').split('\n')[1:26] if result.returncode == 0 else []
        last[0] = cells
        return (len(cells) == 25 and all(len(row) == 132 for row in cells) and cells[24][131] == '#'
                and cells[24][:6] == '######' and cells[24][6:131] == '.' * 125 and cells[0][8] == '#')
    try:
        e2e.wait_until(painted, 'the window to paint 25 rows of 132 columns', every=0.5)
    except e2e.Fail:
        raise e2e.Fail('the window does not show a 25 x 132 screen:\n%s' % '\n'.join(last[0] or ['(no caret)']))
    session.screenshot('e2e-terminal-132x25')

    rows = screen_rows(session)
    if not rows or rows[0] != 'x       T       U':
        raise e2e.Fail('the tabs are not at 0, 8 and 16: %r' % (rows[:1],))

    with open(session.path('enq'), 'w'):
        pass
    session.wait_received(b'ANSWER=[ab-7]')
    if saved_setting(session, 'HistoryRows') != '120':
        raise e2e.Fail('the history size was not kept')


CASES = {'general': test_general, 'mode3270': test_mode3270, 'screen': test_screen}


def test(session, case):
    CASES[case](session)


if __name__ == '__main__':
    # TOLVI_E2E_CASES=screen,... runs only those cases.
    chosen = os.environ.get('TOLVI_E2E_CASES')
    sys.exit(e2e.run(test, cases=tuple(chosen.split(',')) if chosen else tuple(CASES)))
