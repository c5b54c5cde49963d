#!/usr/bin/env python3
"""vttest as telnetd's log-in program: Tolvi.exe answers its terminal query, and its main menu and
the first screen of its screen-features test (chosen by typing into the window with xdotool) are
drawn as libvterm draws them. The received bytes, from the session recording, go to termfeed (our
engine) and to libvterm (vterm_screen); both screens and cursors must agree, and the window must
paint the screen cell by cell.

    vttest_screens_test.py TOLVI_BIN_DIR PROJECT_ROOT VTERM_SCREEN
"""
import os
import shutil
import subprocess
import sys

import e2e

LOGIN = r'''#!/bin/sh
exec vttest 24x80.80
'''

CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
CursorStyle=0
'''


def reference(session, vterm_screen, data):
    with open(session.path('reference.bin'), 'wb') as f:
        f.write(data)
    out = subprocess.run([vterm_screen, '24', '80', session.path('reference.bin')], capture_output=True,
                         check=True).stdout
    return e2e.parse_screen(out.decode('latin1'))


def same_as_libvterm(session, vterm_screen, what):
    data = session.received()
    ours = session.termfeed(data, 1)
    theirs = reference(session, vterm_screen, data)
    if ours != theirs:
        raise e2e.Fail('%s: our screen differs from libvterm\nours (cursor %r):\n%s\nlibvterm (cursor %r):\n%s'
                       % (what, ours[1], '\n'.join(ours[0]), theirs[1], '\n'.join(theirs[0])))
    return ours


def test(session, vterm_screen):
    if not shutil.which('vttest') or not os.access(vterm_screen, os.X_OK):
        raise e2e.Fail('vttest or the libvterm screen (%s) is missing: scripts/setup installs vttest and '
                       'libvterm-dev' % vterm_screen)
    port = session.telnetd(LOGIN)
    session.tolvi(CONFIG, '/ip:127.0.0.1', '/tport:%d' % port, '/c', '/term:vt100')
    menu = session.wait_received(b'Enter choice number')
    session.wait_received(b': ', menu)
    rows, cursor = same_as_libvterm(session, vterm_screen, 'the main menu')
    if not any('VT100 test program' in row for row in rows):
        raise e2e.Fail('no menu on the screen: %r' % rows)
    session.wait_painted(rows, cursor)

    session.click_view()
    session.type_line('2')
    session.wait_received(b'Push <RETURN>', menu)
    rows, cursor = same_as_libvterm(session, vterm_screen, 'the first screen of the screen features')
    session.wait_painted(rows, cursor)


if __name__ == '__main__':
    sys.exit(e2e.run(test))
