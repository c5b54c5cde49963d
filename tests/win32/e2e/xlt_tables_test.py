#!/usr/bin/env python3
"""The shipped DEC translate tables in Tolvi.exe against telnetd with a shell, the screen read
through Tolvi's DDE server and the keys pressed with xdotool:

  - Charset=1 (7-bit national), Country=49: Tolvi starts without an error box; the host's
    "[\\]{|}~" shows as the German letters, and a typed A-umlaut reaches the host as "[" (a-umlaut as "{");
  - Charset=2 (DEC multinational): the host's byte 0xD7 (OE ligature) shows as Windows' OE.

    xlt_tables_test.py TOLVI_BIN_DIR PROJECT_ROOT
"""
import subprocess
import sys

import e2e

sys.dont_write_bytecode = True  # no cache of the imported tests in the source tree
from keyboard_map_test import LOGIN, screen_rows  # noqa: E402

CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
CursorStyle=0
ComType=2
Terminal=2
Platform=3
Charset=%d
Country=%d
[DDE]
DdeServerEnable=Yes
'''


def start(session, charset, country):
    port = session.telnetd(LOGIN)
    session.tolvi(CONFIG % (charset, country), '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    session.wait_received(b'tolvi$ ')
    # A missing or unreadable default table is reported in a message box captioned "Tolvi".
    boxes = e2e.xdotool_out('search', '--onlyvisible', '--name', '^Tolvi$').split()
    if boxes:
        session.screenshot('xlt_error_box')
        raise e2e.Fail('Tolvi showed a message box at start (Charset=%d)' % charset)
    session.click_view()


def shows(session, text, what):
    e2e.wait_until(lambda: any(text in row for row in screen_rows(session)),
                   lambda: 'the screen to show %s:\n%s' % (what, '\n'.join(screen_rows(session))))


def test_national(session):
    start(session, 1, 49)
    mark = len(session.received())
    session.type_line("printf '<%s>\\n' '[\\]{|}~'")
    session.wait_received(b'<[\\]{|}~>', mark)
    shows(session, '<\xc4\xd6\xdc\xe4\xf6\xfc\xdf>', 'the German letters for the host\'s "[\\]{|}~"')
    # Typed letters go out through the outgoing table: A-umlaut as "[", a-umlaut as "{".
    for keys, sent, shown in ((['shift+adiaeresis'], b'[', '\xc4'), (['adiaeresis'], b'{', '\xe4')):
        # The keyboard map of the test display has no key for the letter: xdotool maps one for
        # the moment of the key press and takes it back at once, and Wine may read the event
        # after that and find no letter at all ("===="). Such a lost key press is typed again;
        # a wrong byte is a failure.
        for attempt in range(3):
            mark = len(session.received())
            subprocess.run(['xdotool', 'type', '--delay', '60', 'echo =='], check=True)
            subprocess.run(['xdotool', 'key'] + keys, check=True)
            subprocess.run(['xdotool', 'type', '--delay', '60', '=='], check=True)
            subprocess.run(['xdotool', 'key', 'Return'], check=True)
            end = session.wait_received(b'==\r\n', mark)
            if session.received()[mark:end].endswith(b'echo ====\r\n') and attempt < 2:
                session.wait_received(b'tolvi$ ', end)
                continue
            session.wait_received(b'\r==' + sent + b'==\r\n', mark)
            break
        shows(session, '==' + shown + '==', 'the typed letter')
    session.screenshot('xlt_tables_national')


def test_multinational(session):
    start(session, 2, 49)
    mark = len(session.received())
    session.type_line("printf '<\\327>\\n'")
    session.wait_received(b'<\xd7>', mark)
    shows(session, '<\x8c>', 'the OE ligature for the host byte 0xD7')


def test(session, case):
    (test_national if case == 'national' else test_multinational)(session)


if __name__ == '__main__':
    sys.exit(e2e.run(test, ('national', 'multinational')))
