#!/usr/bin/env python3
"""Session capture in Tolvi.exe against telnetd: File/Capture to Printer/File (chosen from the
menu with the keyboard) with CaptureToFile on writes the lines the host printed while it ran into
the capture file, and nothing from before or after.

    capture_test.py TOLVI_BIN_DIR PROJECT_ROOT
"""
import os
import subprocess
import sys

import e2e

LOGIN = r'''#!/bin/bash
stty -echo
printf 'before capture\n'
read a
printf 'captured one\ncaptured \351t\351 two\n'
read b
printf 'after capture\n'
sleep 30
'''

CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
CaptureToFile=Yes
CaptureFile="%s"
'''


def menu_capture():
    """File/Capture to Printer/File, opened from the menu bar with the mouse."""
    subprocess.run(['xdotool', 'mousemove', '16', '29', 'click', '1'], check=True)
    subprocess.run(['xdotool', 'sleep', '0.5', 'key', 'c'], check=True)


def test(session):
    port = session.telnetd(LOGIN)
    session.tolvi(CONFIG % session.windows_path('session.cap').replace('\\', '\\\\'), '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    start = session.wait_received(b'before capture\r\n')
    session.click_view()
    menu_capture()
    e2e.wait_until(lambda: os.path.exists(session.path('session.cap')), 'the capture file')
    subprocess.run(['xdotool', 'key', 'Return'], check=True)
    start = session.wait_received(b'two\r\n', start)
    menu_capture()
    subprocess.run(['xdotool', 'key', 'Return'], check=True)
    session.wait_received(b'after capture\r\n', start)
    expected = b'captured one\r\ncaptured \xe9t\xe9 two\r\n'
    captured = e2e.wait_until(lambda: session.read('session.cap') if session.read('session.cap').endswith(b'two\r\n') else None,
                              lambda: 'the captured lines (file: %r)' % session.read('session.cap'), timeout=20)
    if captured != expected:
        raise e2e.Fail('the capture file holds %r, not %r' % (captured, expected))


if __name__ == '__main__':
    sys.exit(e2e.run(test))
