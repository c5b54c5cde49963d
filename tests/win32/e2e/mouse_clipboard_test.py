#!/usr/bin/env python3
"""The mouse and the clipboard of Tolvi.exe against telnetd: a selection dragged with the mouse
over a known screen and copied from the Edit menu is on the clipboard cell for cell (CR LF between
rows, none after the last, the block exactly as large as the cells need); Copy Table with both
presets gives their separators; a right click types the selection to the host; Paste sends a
clipboard text of LF-only and CR LF lines byte for byte with LF removed, also one that has to wait
for a host that does not read; with EnableSendMousePos a click sends the MouseClick
string with the 1-based row and column and a double click then the MouseDoubleClick string; a
screen button made by the host runs its action when it is clicked, and not when the mouse leaves
it before the release. The log-in script records everything the host receives.

    mouse_clipboard_test.py TOLVI_BIN_DIR PROJECT_ROOT
"""
import os
import subprocess
import sys
import time

import e2e

LOGIN = r'''#!/bin/bash
dir="$(dirname "$0")"
stty raw -echo
cat "$dir/screen.bin"
sleep "$(cat "$dir/pause")"
exec cat > "$dir/recv.bin"
'''

CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
CursorStyle=0
EnableSendMousePos=Yes
EnableHotspots=Yes
MouseDoubleClick="dbl%row%,%col%;"
Charset=%d
'''

# Rows and columns 0-based; the cursor ends at (CURSOR_ROW, 0), where view_cells finds the grid.
SCREEN = [(2, 10, 'abc'), (3, 10, 'def'), (6, 0, '  12 -3 ab cd   7'), (7, 0, '  x     y'), (12, 0, 'READY')]
CURSOR_ROW = 13
# A button over cells 40..45 of row 9 whose left click sends "BTN!".
BUTTON = b'\x1b[7;1;41;10;6;1;0;0;0;2;2;0;0y;PRESS;b1;-;BTN!\x1b\\'


class Grid:
    def __init__(self, session):
        info = e2e.wait_until(lambda: self._info(session), 'the cell grid')
        self.w, self.h, self.x0, self.y0 = int(info[1]), int(info[2]), int(info[7]), int(info[8])

    @staticmethod
    def _info(session):
        out = subprocess.run([session.wine_run, os.path.join(session.bin, 'view_cells.exe'), '--title',
                              '(%s)' % e2e.CONFIG_NAME, str(CURSOR_ROW), '0'], capture_output=True)
        words = out.stdout.decode().split()
        return words if out.returncode == 0 and len(words) >= 9 else None

    def corner(self, row, col, inside=1):
        """A screen point just inside the top-left corner of a cell."""
        return self.x0 + col * self.w + inside, self.y0 + row * self.h + inside

    def centre(self, row, col):
        return self.x0 + col * self.w + self.w // 2, self.y0 + row * self.h + self.h // 2


def xdo(*args):
    subprocess.run(['xdotool'] + [str(a) for a in args], check=True)


def drag(grid, top, left, bottom, right):
    """Drags over the cells top..bottom, left..right (inclusive) from corner to corner."""
    x1, y1 = grid.corner(top, left)
    x2, y2 = grid.corner(bottom + 1, right + 1, -1)
    xdo('mousemove', x1, y1, 'mousedown', 1, 'mousemove', (x1 + x2) // 2, (y1 + y2) // 2,
        'mousemove', x2, y2, 'sleep', 0.2, 'mouseup', 1)
    time.sleep(0.3)


def menu(rights, letter):
    """Opens File from the menu bar, goes right to the wanted menu and picks the item by its
    letter."""
    xdo('mousemove', 16, 29, 'click', 1)
    xdo('sleep', 0.4)
    for _ in range(rights):
        xdo('key', 'Right')
    xdo('sleep', 0.5, 'key', letter)
    time.sleep(0.5)


def dlgdrive(session, caption, *commands):
    out = subprocess.run([session.wine_run, os.path.join(session.bin, 'dlgdrive.exe'), caption] + list(commands),
                         capture_output=True)
    if out.returncode != 0:
        raise e2e.Fail('dlgdrive %s %s: %d %s' % (caption, commands, out.returncode, out.stderr.decode()[-200:]))
    return out.stdout.decode()


def clipboard(session, kind='text'):
    out = subprocess.run([session.wine_run, os.path.join(session.bin, 'clipboard_tool.exe'), 'get', kind,
                          session.windows_path('clip.bin')], capture_output=True)
    if out.returncode != 0:
        raise e2e.Fail('the clipboard holds no text (%d)' % out.returncode)
    return session.read('clip.bin'), out.stdout.decode().split()


def set_clipboard(session, data):
    with open(session.path('paste.bin'), 'wb') as f:
        f.write(data)
    subprocess.run([session.wine_run, os.path.join(session.bin, 'clipboard_tool.exe'), 'set',
                    session.windows_path('paste.bin')], check=True)


def host_got(session, data, after, what):
    """Waits for data in what the host received from position after on; returns the end."""
    def found():
        got = session.read('recv.bin')
        at = got.find(data, after)
        return at + len(data) if at >= 0 else None
    return e2e.wait_until(found, lambda: '%s: %r in what the host received (%r)'
                          % (what, data, session.read('recv.bin')[after:][-200:]), timeout=30)


def start(session, charset, pause=0):
    """Tolvi against a host that shows the screen and, after `pause` seconds of not reading,
    records what it receives."""
    session.write('pause', str(pause))
    port = session.telnetd(LOGIN, listen_options=',rcvbuf=4096' if pause else '')
    screen = b'\x1b[2J' + b''.join(b'\x1b[%d;%dH%s' % (r + 1, c + 1, t.encode()) for r, c, t in SCREEN)
    screen += BUTTON + b'\x1b[%d;1H' % (CURSOR_ROW + 1)
    with open(session.path('screen.bin'), 'wb') as f:
        f.write(screen)
    session.tolvi(CONFIG.replace('%d', str(charset)), '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    session.wait_received(b'READY')
    session.click_view()
    return Grid(session)


def test_copy_and_clicks(session):
    grid = start(session, 3)
    # Edit/Copy of a 3 x 2 selection.
    drag(grid, 2, 10, 3, 12)
    menu(1, 'c')
    data, info = clipboard(session)
    if data != b'abc\r\ndef\x00' or info[1] != '9':
        raise e2e.Fail('Copy put %r (%s) on the clipboard, not the 9 bytes abc CR LF def NUL' % (data, info))
    session.screenshot('mouse_clipboard_copy')

    # Copy Table with each preset.
    for button, expected in (('4', b'12\t-3 ab cd\t7\r\nx\ty\x00'), ('5', b'  12 -3 ab cd   7\r\n  x     y\x00')):
        # The frame is active again once the view shows its caret.
        e2e.wait_until(lambda: Grid._info(session), "the view's caret after the dialog")
        drag(grid, 6, 0, 7, 19)
        session.screenshot('mouse_clipboard_table_selection_' + button)
        menu(1, 't')
        dlgdrive(session, 'Copy Table Settings', 'click', button)
        session.screenshot('mouse_clipboard_copy_table_' + button)
        dlgdrive(session, 'Copy Table Settings', 'click', '1', 'wait-closed')
        data, _ = clipboard(session)
        if data.rstrip(b'\x00') + b'\x00' != expected:
            raise e2e.Fail('Copy Table (preset %s) gave %r, not %r' % (button, data, expected))

    # A click sends the 1-based cell; a double click then the double-click string.
    end = len(session.read('recv.bin'))
    x, y = grid.centre(5, 20)
    xdo('mousemove', x, y, 'click', 1)
    end = host_got(session, b'\x1b[6;21H', end, 'a click')
    time.sleep(1.5)  # longer than the double-click time: the next click is a first click again
    xdo('mousemove', x, y, 'click', '--repeat', 2, '--delay', 80, 1)
    end = host_got(session, b'\x1b[6;21Hdbl6,21;', end, 'a double click')

    # A right click types the selection.
    drag(grid, 2, 10, 2, 12)
    xdo('click', 3)
    end = host_got(session, b'abc', end, 'the right click')

    # The host's button: pressed, moved off and released does nothing; a click runs it.
    bx, by = grid.centre(9, 42)
    xdo('mousemove', bx, by, 'mousedown', 1, 'sleep', 0.3)
    session.screenshot('mouse_clipboard_button_pressed')
    xdo('mousemove', bx, by + 6 * grid.h, 'sleep', 0.3, 'mouseup', 1)
    xdo('mousemove', bx, by, 'click', 1)
    end = host_got(session, b'BTN!', end, 'the button')
    if session.read('recv.bin').count(b'BTN!') != 1:
        raise e2e.Fail('the button ran %d times' % session.read('recv.bin').count(b'BTN!'))


def paste_text(size):
    """LF-only and CR LF lines of every byte value but NUL, LF and CR."""
    text = bytearray()
    n = 0
    while len(text) < size:
        line = bytes((i % 255) + 1 for i in range(n, n + 60) if (i % 255) + 1 not in (10, 13))
        text += line + (b'\n' if n % 2 else b'\r\n')
        n += 1
    return bytes(text)


def wait_pasted(session, end, expected, timeout=60, whole=True):
    if end is None:  # after the positions that the focusing click sent
        e2e.wait_until(lambda: session.read('recv.bin').startswith(b'\x1b[') and b'H' in session.read('recv.bin'),
                       'the focusing click', timeout=timeout)
        end = session.read('recv.bin').index(b'H') + 1
    e2e.wait_until(lambda: len(session.read('recv.bin')) - end >= len(expected),
                   lambda: 'the pasted text (%d of %d bytes)' % (len(session.read('recv.bin')) - end, len(expected)),
                   timeout=timeout)
    time.sleep(2)  # nothing more comes
    got = session.read('recv.bin')[end:]
    if not whole:
        got = got[:len(expected)]
    if got != expected:
        first = next((i for i in range(min(len(got), len(expected))) if got[i] != expected[i]), min(len(got), len(expected)))
        raise e2e.Fail('the host got %d bytes, not the %d pasted (first difference at %d: %r / %r)'
                       % (len(got), len(expected), first, got[first:first + 10], expected[first:first + 10]))


def test_paste(session):
    start(session, 3)
    text = paste_text(20 * 1024)
    set_clipboard(session, text)
    end = len(session.read('recv.bin'))
    menu(1, 'p')
    wait_pasted(session, end, text.replace(b'\n', b''))


def test_pending_paste(session):
    # The host does not read for a while: a paste larger than the system's socket buffers (up to
    # 4 MB) waits in Tolvi and goes on, intact, once the host reads again.
    start(session, 3, pause=8)
    text = paste_text(8 * 1024 * 1024)
    set_clipboard(session, text)
    menu(1, 'p')
    wait_pasted(session, None, text.replace(b'\n', b''), timeout=120, whole=False)


def test_oem_paste(session):
    start(session, 4)
    set_clipboard(session, b'caf\xe9 \xc4\n')
    end = len(session.read('recv.bin'))
    menu(1, 'p')
    host_got(session, b'caf\x82 \x8e', end, 'the OEM bytes')


CASES = {'copy': test_copy_and_clicks, 'paste': test_paste, 'pending': test_pending_paste, 'oem': test_oem_paste}


def test(session, case):
    CASES[case](session)


if __name__ == '__main__':
    sys.exit(e2e.run(test, list(CASES)))
