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
import re
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

# Shows screen.bin, waits for the file "go" and shows later.bin, then records what it receives.
LOGIN_LATER = r'''#!/bin/bash
dir="$(dirname "$0")"
stty raw -echo
cat "$dir/screen.bin"
while [ ! -e "$dir/go" ]; do sleep 0.1; done
cat "$dir/later.bin"
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
    def __init__(self, session, cursor=(CURSOR_ROW, 0)):
        info = e2e.wait_until(lambda: self._info(session, cursor), 'the cell grid')
        self.w, self.h, self.x0, self.y0 = int(info[1]), int(info[2]), int(info[7]), int(info[8])

    @staticmethod
    def _info(session, cursor=(CURSOR_ROW, 0)):
        out = subprocess.run([session.wine_run, os.path.join(session.bin, 'view_cells.exe'), '--title',
                              '(%s)' % e2e.CONFIG_NAME, str(cursor[0]), str(cursor[1])], capture_output=True)
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


def start(session, charset, pause=0, screen=None, config='', login=LOGIN, small_buffer=False):
    """Tolvi against a host that shows the screen and, after `pause` seconds of not reading,
    records what it receives. Without `screen` the host shows SCREEN and the button and the cell
    grid is returned; a screen of the caller's ends in READY. `config` is added to the
    configuration."""
    session.write('pause', str(pause))
    port = session.telnetd(login, listen_options=',rcvbuf=4096' if pause or small_buffer else '')
    data = screen
    if screen is None:
        data = b'\x1b[2J' + b''.join(b'\x1b[%d;%dH%s' % (r + 1, c + 1, t.encode()) for r, c, t in SCREEN)
        data += BUTTON + b'\x1b[%d;1H' % (CURSOR_ROW + 1)
    with open(session.path('screen.bin'), 'wb') as f:
        f.write(data)
    session.tolvi(CONFIG.replace('%d', str(charset)) + config, '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    session.wait_received(b'READY')
    session.click_view()
    return Grid(session) if screen is None else None


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


def wait_pasted(session, end, expected, timeout=60):
    """Checks that the host got exactly `expected` from position `end` on (None: after the
    positions that clicks sent before it)."""
    e2e.wait_until(lambda: len(session.read('recv.bin')) - (end or 0) >= len(expected),
                   lambda: 'the pasted text (%d of %d bytes)' % (len(session.read('recv.bin')) - (end or 0), len(expected)),
                   timeout=timeout)
    time.sleep(3)  # nothing more comes
    got = session.read('recv.bin')
    if end is None:
        end = re.match(rb'(\x1b\[\d+;\d+H)*', got).end()
    got = got[end:]
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
    # The host does not read until the test lets it: a paste larger than the system's socket
    # buffers (about 3 MB under Wine) waits in Tolvi and goes on, intact, once the host reads. A
    # second Paste while the first waits does nothing, and Paste is greyed meanwhile.
    with open(session.path('later.bin'), 'wb') as f:
        f.write(b'')
    start(session, 3, login=LOGIN_LATER, small_buffer=True)
    text = paste_text(8 * 1024 * 1024)
    set_clipboard(session, text)
    menu(1, 'p')
    time.sleep(3)
    xdo('mousemove', 16, 29, 'click', 1, 'sleep', 0.4, 'key', 'Right', 'sleep', 0.5)
    session.screenshot('mouse_clipboard_paste_pending_menu')
    xdo('key', 'p', 'sleep', 0.5)  # the greyed item: the menu closes, nothing is pasted
    session.write('go', '')
    wait_pasted(session, None, text.replace(b'\n', b''), timeout=120)


def test_oem_paste(session):
    start(session, 4)
    set_clipboard(session, b'caf\xe9 \xc4\n')
    end = len(session.read('recv.bin'))
    menu(1, 'p')
    host_got(session, b'caf\x82 \x8e', end, 'the OEM bytes')


def trace_of(data):
    """Host bytes as the COMM record of a comm recording (the button file's format)."""
    names = {27: 'ESC', 32: 'SP', 13: 'CR', 10: 'LF', 9: 'HT'}
    tokens = [names.get(b) or (chr(b) if 33 <= b < 127 else '%02X' % b) for b in data]
    lines = [' '.join(tokens[i:i + 30]) for i in range(0, len(tokens), 30)]
    return 'COMM: ' + '\r\n      '.join(lines) + ' \r\n'


def test_history(session):
    """View/History Scrollback asks for the history rows (dialog 144) when there are none; lines
    the host scrolls off then reach the history, and a drag from the screen to above the window
    scrolls the view and selects into the history. View/Set Titlebar Text (dialog 603) puts its
    text into the title."""
    lines = b''.join(b'line %02d\r\n' % n for n in range(1, 61))
    with open(session.path('later.bin'), 'wb') as f:
        f.write(lines + b'DONE')  # lines 38..60 on rows 0..22, DONE on row 23
    start(session, 3, screen=b'\x1b[2J\x1b[HREADY', config='HistoryRows=0\n', login=LOGIN_LATER)
    menu(2, 'h')
    dlgdrive(session, 'History Rows', 'focus', '3277')
    session.keep_dialog('History Rows', 'e2e-dialog-history-rows')
    dlgdrive(session, 'History Rows', 'settext', '3277', '100', 'click', '1', 'wait-closed')
    session.write('go', '')
    session.wait_received(b'DONE')
    session.click_view()
    grid = Grid(session, (23, 4))
    session.screenshot('mouse_clipboard_history_view')
    # From the end of row 2 (line 40) up and out of the window; the view scrolls while the
    # button is held outside.
    x1, y1 = grid.corner(3, 7, -1)
    xdo('mousemove', x1, y1, 'mousedown', 1, 'mousemove', grid.x0 + 2, y1 - grid.h,
        'mousemove', grid.x0 + 2, grid.y0 - 4 * grid.h, 'sleep', 2, 'mouseup', 1)
    time.sleep(0.5)
    session.screenshot('mouse_clipboard_history_selection')
    menu(1, 'c')
    data, _ = clipboard(session)
    rows = data.rstrip(b'\x00').split(b'\r\n')
    numbers = [int(r[5:7]) for r in rows if r.startswith(b'line ')]
    if len(numbers) != len(rows) or numbers[-1] != 40 or numbers != list(range(numbers[0], 41)):
        raise e2e.Fail('the drag into the history copied %r' % data[:400])
    if numbers[0] >= 38:
        raise e2e.Fail('the selection did not reach the history (first row: line %02d)' % numbers[0])
    print('history: the drag above the window selected from line %02d (history) to line 40' % numbers[0])

    menu(2, 'x')
    dlgdrive(session, 'WINDOW TITLE', 'settext', '3126', ' Sales desk')
    session.keep_dialog('WINDOW TITLE', 'e2e-dialog-window-title')
    dlgdrive(session, 'WINDOW TITLE', 'click', '1', 'wait-closed')
    e2e.wait_until(lambda: ' Sales desk' in session.title(), lambda: 'the title text (title: %r)' % session.title())


def test_view_commands(session):
    """Special/Reset Emulator, Clear Hotspots and Function Buttons from the menu."""
    fun_button = b'\x1b[7;1;41;12;6;1;0;0;0;2;2;0;0y;FUNC;f1;-;FUN!\x1b\\'
    with open(session.path('buttons.trc'), 'w', newline='') as f:
        f.write(trace_of(fun_button))
    screen = b'\x1b[2J\x1b[?1h' + BUTTON + b'\x1b[14;1HREADY'
    start(session, 3, screen=screen, config='EnableButtonPanel=Yes\n')
    grid = Grid(session, (13, 5))
    # The button file is named in Config/Preferences/File names (it has no configuration key).
    for key in ('alt+c', 'Up', 'Up', 'Up', 'Right', 'f'):  # Config/Preferences/File names
        xdo('key', key, 'sleep', 0.4)
    dlgdrive(session, 'File name preferences', 'settext', '3073', session.windows_path('buttons.trc'),
             'click', '1', 'wait-closed')
    e2e.wait_until(lambda: Grid._info(session, (13, 5)), "the view's caret after the dialog")
    end = len(session.read('recv.bin'))
    xdo('key', 'Up')
    end = host_got(session, b'\x1bOA', end, 'Up in application cursor mode')
    menu(5, 'e')  # Reset Emulator: back to normal cursor keys
    xdo('key', 'Up')
    end = host_got(session, b'\x1b[A', end, 'Up after Reset Emulator')

    menu(5, 'h')  # Clear Hotspots: the host's button is gone, a click there sends its position
    bx, by = grid.centre(9, 42)
    xdo('mousemove', bx, by, 'click', 1)
    end = host_got(session, b'\x1b[10;43H', end, 'a click where the button was')
    if b'BTN!' in session.read('recv.bin'):
        raise e2e.Fail('the cleared button still ran')

    menu(5, 'f')  # Function Buttons: plays the button file
    fx, fy = grid.centre(11, 42)
    time.sleep(1)
    session.screenshot('mouse_clipboard_function_buttons')
    xdo('mousemove', fx, fy, 'click', 1)
    end = host_got(session, b'FUN!', end, "the button file's button")


TN3270_CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
CursorStyle=0
[3270]
TerminalFamily3270=1
'''


def address(record):
    """The cursor address of an inbound record (AID, then the 12-bit address)."""
    b = bytes.fromhex(record)
    return ((b[1] & 0x3F) << 6) | (b[2] & 0x3F)


def test_tn3270_click(session):
    """In a tn3270 session a click on an input cell moves the cursor (the next inbound record
    carries it); a click on a protected cell does not."""
    # A protected field NAME and an input field over the rest of the screen; every record from
    # the client is answered by a keyboard restore.
    script = "F5 C3 11 40 40 1D F0 'NAME' 1D 40 13\n" + 'wait 30\nF1 C2\n' * 3 + 'sleep 2\n'
    session.write('host.script', script)
    session.start([sys.executable, os.path.join(session.root, 'tests', 'peers', 'tn3270_host.py'), '--port', '0',
                   '--port-file', session.path('host.port'), '--script', session.path('host.script'),
                   '--log', session.path('host.log')], log='host.out')
    port = int(e2e.wait_until(lambda: session.read('host.port').strip(), "the tn3270 host's port", timeout=20))
    session.tolvi(TN3270_CONFIG, '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    e2e.wait_until(lambda: session.read('host.log').startswith(b'type '), 'the terminal type at the host')
    session.click_view()

    def enter(count):
        xdo('key', 'Return')
        return e2e.wait_until(lambda: (lambda r: r[count] if len(r) > count else None)(
            session.read('host.log').decode().splitlines()),
            lambda: 'record %d at the host (%r)' % (count, session.read('host.log')), timeout=20)
    # Where the focusing click put the cursor tells where the grid is.
    first = address(enter(1))
    grid = Grid(session, divmod(first, 80))
    x, y = grid.centre(5, 20)
    xdo('mousemove', x, y, 'click', 1)
    time.sleep(0.5)
    moved = address(enter(2))
    if moved != 5 * 80 + 20:
        raise e2e.Fail('after a click on row 6, column 21 the cursor is at %d, not %d' % (moved, 5 * 80 + 20))
    x, y = grid.centre(0, 2)
    xdo('mousemove', x, y, 'click', 1)
    time.sleep(0.5)
    kept = address(enter(3))
    if kept != moved:
        raise e2e.Fail('a click on the protected field moved the cursor to %d' % kept)
    print('tn3270: a click moved the cursor from %d to %d; a click on a protected cell left it' % (first, moved))


CASES = {'copy': test_copy_and_clicks, 'paste': test_paste, 'pending': test_pending_paste, 'oem': test_oem_paste,
         'history': test_history, 'commands': test_view_commands, 'tn3270': test_tn3270_click}


def test(session, case):
    CASES[case](session)


if __name__ == '__main__':
    only = os.environ.get('TOLVI_E2E_CASE')
    sys.exit(e2e.run(test, [only] if only else list(CASES)))
