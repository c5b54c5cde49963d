#!/usr/bin/env python3
"""Tolvi.exe started with the host on its command line (/ip: /tport: /c) connects to telnetd,
which reports what the Telnet negotiation gave the log-in: the terminal type (TERM), the window
size (NAWS) and the environment variables of the session's UNIX environment setting. The report
is checked in the file the log-in script writes and on the screen, as received and as painted.

    telnet_report_test.py TOLVI_BIN_DIR PROJECT_ROOT
"""
import sys

import e2e

# telnetd passes USER only to an authenticated log-in; the others are accepted by name, DISPLAY
# comes by its own option.
LOGIN = r'''#!/bin/bash
report="TERM=$TERM SIZE=$(stty size) TOLVIVAR=$TOLVIVAR PRINTER=$PRINTER DISPLAY=$DISPLAY"
echo "$report" >"$(dirname "$0")/report.txt"
printf '%s\r\nEND-OF-REPORT\r\n' "$report"
read -r line
'''

CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
CursorStyle=0
UnixEnvEnable=Yes
UnixEnv="TERM=%terminal% TOLVIVAR=hello PRINTER=lp7 DISPLAY=tolvi:0"
'''

EXPECTED = 'TERM=vt100 SIZE=24 80 TOLVIVAR=hello PRINTER=lp7 DISPLAY=tolvi:0'


def test(session):
    port = session.telnetd(LOGIN, ['--accept-env=TOLVIVAR', '--accept-env=PRINTER'])
    session.tolvi(CONFIG, '/ip:127.0.0.1', '/tport:%d' % port, '/c', '/term:vt100')
    session.wait_received(b'END-OF-REPORT')
    report = session.read('report.txt').decode('latin1').strip()
    if report != EXPECTED:
        raise e2e.Fail('telnetd reported %r, expected %r' % (report, EXPECTED))
    rows, cursor = session.termfeed(session.received(), 1)
    if rows[:2] != [EXPECTED, 'END-OF-REPORT'] or cursor != (2, 0):
        raise e2e.Fail('the screen shows %r, cursor %r' % (rows[:3], cursor))
    session.wait_painted(rows, cursor)


if __name__ == '__main__':
    sys.exit(e2e.run(test))
