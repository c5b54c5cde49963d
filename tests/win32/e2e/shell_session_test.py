#!/usr/bin/env python3
"""Tolvi.exe against telnetd whose log-in runs a shell: the shell's prompt is painted, and a
command line typed into the window with xdotool goes to the host, whose echo and output come back
and are painted.

    shell_session_test.py TOLVI_BIN_DIR PROJECT_ROOT
"""
import sys

import e2e

LOGIN = r'''#!/bin/bash
export PS1='tolvi$ '
exec /bin/bash --norc --noprofile -i
'''

CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
CursorStyle=0
'''


def test(session):
    port = session.telnetd(LOGIN)
    session.tolvi(CONFIG, '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    prompt = session.wait_received(b'tolvi$ ')
    rows, cursor = session.termfeed(session.received(), 2)
    if rows[0] != 'tolvi$' or cursor != (0, 7):
        raise e2e.Fail('the prompt is not alone on the first row: %r, cursor %r' % (rows[:3], cursor))
    session.wait_painted(rows, cursor)

    session.click_view()
    session.type_line('echo hello')
    session.wait_received(b'\rhello\r\n', prompt)
    session.wait_received(b'tolvi$ ', prompt)
    rows, cursor = session.termfeed(session.received(), 2)
    if rows[:3] != ['tolvi$ echo hello', 'hello', 'tolvi$'] or cursor != (2, 7):
        raise e2e.Fail('the screen after the command: %r, cursor %r' % (rows[:4], cursor))
    session.wait_painted(rows, cursor)


if __name__ == '__main__':
    sys.exit(e2e.run(test))
