#!/usr/bin/env python3
"""Screen buttons with pictures and dynamic hotspots, made by the host: telnetd's log-in script
sends host command 7 (a button: placement 2, pixels) with pictures in six formats, each fit mode,
with and without text, and hostile picture files; then a screen of words for the dynamic-hotspot
table. The view's client area is copied from the screen (view_pixels.exe) and probed where each
button must show its picture's coloured quarters, or its face only.

Case "table": the session's .dyn file names the hotspot words (types 0, 1 and 2). Case "keymap":
no .dyn file, so the table is built from the keyboard map (the key F1 of the VT map). A left click
on a hotspot word sends its entry's resolved string, which the log-in script records.

    button_pictures_test.py TOLVI_BIN_DIR PROJECT_ROOT
"""
import os
import subprocess
import sys
import time

import e2e

QUARTERS = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 0)]
FACE = (192, 192, 192)  # the buttons' default face colour

LOGIN = r'''#!/bin/bash
dir="$(dirname "$0")"
stty -opost
cat "$dir/wait.bin"
IFS= read -r line
cat "$dir/buttons.bin"
IFS= read -r line
cat "$dir/words.bin"
stty raw -echo
exec cat > "$dir/recv.bin"
'''

CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=Yes
PromptForHost=No
CursorStyle=0
DynamicRow=1
DynamicColumn=1
DynamicWidth=38
DynamicHeight=24
DynamicDepth=1
ExtraDynWordChars=-
'''

# The hotspot area's last column is 39 (0-based): a word ending there is taken, one past it not.
DYN = ('name: HELP type: 2 sendstring: help\\r\n'
       'name: go type: 0 sendstring: F1\n'
       'name: PF type: 1 sendstring: PF2\n'
       'name: Menu-2 type: 2 sendstring: %menu%\n')
WORDS = [(1, 0, 'HELP'), (1, 5, 'go'), (1, 8, 'PF'), (1, 11, 'Menu-2'), (1, 18, 'other'), (1, 24, 'Menu'),
         (1, 29, 'F1'), (3, 36, 'HELP'), (4, 37, 'HELP')]
# The hotspot words clicked, (row, column) of a cell of the word, and what the host must get:
# type 0 F1 -> the key map's PF1 -> <esc>OP; type 1 PF2 -> <esc>OQ; type 2 as it is, where a
# backslash only quotes the next character.
CLICKS = {'table': [((1, 6), b'\x1bOP'), ((1, 9), b'\x1bOQ'), ((3, 38), b'helpr')],
          'keymap': [((1, 30), b'\x1bOP')]}


def button(x, y, w, h, fit, picture, text, name, depth=2):
    numbers = [7, 2, x, y, w, h, 0, 0, fit, 2, depth, 0, 0]
    return b'\x1b[' + ';'.join(map(str, numbers)).encode() + b'y' + \
        ('%s;%s;%s' % (picture, text, name)).encode('latin1') + b'\x1b\\'


def c_div(a, b):
    return int(a / b)  # C's division, towards 0


def fit0(w, h, room_w, room_h):
    across, down = w / room_w, h / room_h
    return (int(w / down), room_h) if across <= down else (room_w, int(h / across))


class Layout:
    """The buttons of the first screen and what each must show."""

    def __init__(self, pics):
        self.bytes = b'\x1b[2J\x1b[H'
        self.pictures = []  # (name, x0, y0, width, height, top-left part only)
        self.faces = []     # (name, x, y, w, h): face, text and frame, no picture
        self.pics = pics

    def picture(self, x, y, w, h, fit, file, text, name, shown, cell_h, cut=False):
        self.bytes += button(x, y, w, h, fit, self.pics + '\\' + file, text, name)
        d = 2
        iw, ih = shown
        if w <= 0 and h <= 0:
            w, h = iw, ih
        inner_w, inner_h = w - 2 * d, h - 2 * d
        x0 = x + d + c_div(inner_w - iw, 2)
        y0 = y + d + (max(c_div(inner_h - cell_h - ih, 2), 0) if text else c_div(inner_h - ih, 2))
        self.pictures.append((name, x0, y0, iw, ih, cut))

    def face(self, x, y, w, h, file, text, name):
        self.bytes += button(x, y, w, h, 0, file, text, name)
        if w <= 0 and h <= 0:
            w = h = 30
        self.faces.append((name, x, y, w, h))


def near(a, b, slack=48):
    return all(abs(p - q) < slack for p, q in zip(a, b))


def grab(session):
    shot = session.path('view.ppm')
    result = subprocess.run([session.wine_run, os.path.join(session.bin, 'view_pixels.exe'), '--title',
                             '(%s)' % e2e.CONFIG_NAME, session.windows_path('view.ppm')], capture_output=True)
    if result.returncode != 0:
        return None
    data = open(shot, 'rb').read()
    parts = data.split(b'\n', 3)
    width, height = map(int, parts[1].split())
    pixels = parts[3]
    return lambda x, y: tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]) \
        if 0 <= x < width and 0 <= y < height else None


def view_geometry(session, cursor=(0, 4)):
    """The view's cell width and height, the grid's origin in the view's client area and on the
    screen: (cell_w, cell_h, origin_x, origin_y, screen_x, screen_y); the caret stands at the
    cursor's cell (row, column). None while the view shows no caret."""
    result = subprocess.run([session.wine_run, os.path.join(session.bin, 'view_cells.exe'), '--title',
                             '(%s)' % e2e.CONFIG_NAME, str(cursor[0]), str(cursor[1])], capture_output=True)
    info = result.stdout.decode().split()
    return tuple(int(info[i]) for i in (1, 2, 4, 5, 7, 8)) if result.returncode == 0 else None


def hotspot_words(session, words, geometry):
    """The words of (row, column, text) that carry a hotspot button, as (text, row); None without
    the view's geometry or when the view cannot be copied."""
    at = grab(session) if geometry else None
    if not at:
        return None
    cell_w, cell_h, origin_x, origin_y = geometry[:4]
    found = set()
    for r, c, t in words:
        # A hotspot button over the word: its raised frame (depth 1) lies on the word's cells,
        # light along the top, dark along the bottom (the screen's own background is as grey
        # as the buttons' face).
        left, right = origin_x + c * cell_w + 1, origin_x + (c + len(t)) * cell_w - 2
        top, bottom = origin_y + r * cell_h, origin_y + (r + 1) * cell_h - 1
        light = [at(x, top) for x in range(left, right)]
        dark = [at(x, bottom) for x in range(left, right)]
        if all(p and near(p, (255, 255, 255), 8) for p in light) and \
                all(p and near(p, (128, 128, 128), 8) for p in dark):
            found.add((t, r))
    return found


def check_buttons(layout, at):
    problems = []
    for name, x0, y0, iw, ih, cut in layout.pictures:
        if cut:  # the top-left part of the picture: red all over
            points = [((x0 + iw // 4, y0 + ih // 4), 0), ((x0 + iw * 3 // 4, y0 + ih * 3 // 4), 0)]
        else:
            points = [((x0 + iw // 4 + (iw // 2) * (q & 1), y0 + ih // 4 + (ih // 2) * (q >> 1)), q) for q in range(4)]
        for (x, y), q in points:
            if not at(x, y) or not near(at(x, y), QUARTERS[q]):
                problems.append('%s: (%d, %d) is %r, not quarter %d' % (name, x, y, at(x, y), q))
        # Its size: the face colour just beside the picture, inside the button.
        for x, y in ((x0 - 1, y0 + ih // 2), (x0 + iw, y0 + ih // 2)):
            if at(x, y) and not near(at(x, y), FACE, 8) and not near(at(x, y), (255, 255, 255), 8) and \
                    not near(at(x, y), (128, 128, 128), 8) and name.startswith('fit1'):
                problems.append('%s: (%d, %d) beside the picture is %r' % (name, x, y, at(x, y)))
    for name, x, y, w, h in layout.faces:
        inside = [at(x + i, y + j) for i in range(3, w - 3, 3) for j in range(3, h - 3, 3)]
        if sum(1 for p in inside if p and near(p, FACE, 4)) < len(inside) // 2:
            problems.append('%s: no face' % name)
        # (The text is blue: red, green and yellow tell a picture.)
        if any(p and any(near(p, QUARTERS[q], 60) for q in (0, 1, 3)) for p in inside):
            problems.append('%s: shows a picture' % name)
    return problems


def test(session, case):
    pics = session.path('pics')
    os.makedirs(pics)
    made = subprocess.run([session.wine_run, os.path.join(session.bin, 'make_test_pictures.exe'),
                           session.windows_path('pics')], capture_output=True)
    if made.returncode != 0:
        raise e2e.Fail('the test pictures were not written: %r' % made.stdout)
    if case == 'table':
        session.write('tolvi-e2e.dyn', DYN)

    port = session.telnetd(LOGIN)
    words = b'\x1b[2J\x1b[H' + b''.join(b'\x1b[%d;%dH%s' % (r + 1, c + 1, t.encode()) for r, c, t in WORDS)
    session.write('words.bin', (words + b'\x1b[24;1HWORDS').decode('latin1'))
    # The buttons need the cell height (text under a picture); the view tells it by its caret.
    session.write('wait.bin', '\x1b[2J\x1b[HWAIT')
    session.tolvi(CONFIG, '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    session.wait_received(b'WAIT')
    session.click_view()
    cell_w, cell_h, origin_x, origin_y, screen_x, screen_y = view_geometry(session)

    win = session.windows_path('pics')
    layout = Layout(win)
    names = ['quad.bmp', 'quad.png', 'quad.jpg', 'quad.gif', 'quad.tif', 'quad.ico']
    for i, file in enumerate(names):  # fit 0 into 95 x 55 (and 95 x 75 with a text)
        layout.picture(5 + i * 105, 5, 100, 60, 0, file, '', 'p' + file, fit0(200, 100, 95, 55), cell_h)
        layout.picture(5 + i * 105, 70, 100, 80, 0, file, file[5:].upper(), 't' + file, fit0(200, 100, 95, 75), cell_h)
    layout.picture(5, 160, 55, 55, 0, 'quad.png', '', 'fit0', (50, 25), cell_h)
    layout.picture(70, 160, 55, 55, 1, 'quad.gif', '', 'fit1', (50, 50), cell_h)
    layout.picture(135, 160, 55, 55, 3, 'quad.tif', '', 'fit3', (50, 50), cell_h, cut=True)
    layout.picture(200, 160, 0, 0, 2, 'quad.jpg', '', 'fit2', (200, 100), cell_h)
    layout.face(420, 160, 0, 0, win + '\\missing.png', 'no', 'auto')  # no picture: 30 x 30
    hostile = ['missing.png', 'empty.png', 'half.png', 'header-only.bmp', 'zero-width.bmp', 'huge.bmp', 'text.png',
               'picture.pcx']
    for i, file in enumerate(hostile):
        layout.face(5 + i * 78, 275, 74, 40, win + '\\' + file, 'bad', 'h' + file)
    # Pictures a host may not name: a network share and a device.
    layout.face(5, 325, 74, 40, '\\\\127.0.0.1\\share\\quad.png', 'unc', 'unc')
    layout.face(85, 325, 74, 40, 'NUL', 'dev', 'dev')
    with open(session.path('buttons.bin'), 'wb') as f:
        f.write(layout.bytes + b'\x1b[24;1HREADY')
    session.type_line('')  # the host sends the buttons
    session.wait_received(b'READY')

    last = [None]

    def painted():
        at = grab(session)
        if not at:
            return False
        last[0] = check_buttons(layout, at)
        return not last[0]
    try:
        e2e.wait_until(painted, 'the buttons to show their pictures', timeout=30, every=1)
    except e2e.Fail:
        raise e2e.Fail('buttons:\n' + '\n'.join(last[0] or ['(no view)']))
    session.screenshot('button_pictures_' + case)

    # The words: hotspot buttons over the words of the table, in their face colour.
    session.type_line('')
    session.wait_received(b'WORDS')
    expected = {('HELP', 1), ('go', 1), ('PF', 1), ('Menu-2', 1), ('HELP', 3)} if case == 'table' else {('F1', 1)}

    def hotspots():
        last[0] = hotspot_words(session, WORDS, (cell_w, cell_h, origin_x, origin_y))
        return last[0] == expected
    try:
        e2e.wait_until(hotspots, 'the hotspot words', timeout=30, every=1)
    except e2e.Fail:
        raise e2e.Fail('hotspot words %r, expected %r' % (sorted(last[0] or []), sorted(expected)))
    session.screenshot('hotspots_' + case)

    # A left click on a hotspot word sends its string, and nothing else.
    expected_bytes = b''
    for (row, col), sent in CLICKS[case]:
        x, y = screen_x + col * cell_w + cell_w // 2, screen_y + row * cell_h + cell_h // 2
        subprocess.run(['xdotool', 'mousemove', str(x), str(y), 'click', '1'], check=True)
        expected_bytes += sent
        e2e.wait_until(lambda: len(session.read('recv.bin')) >= len(expected_bytes),
                       lambda: 'the click at (%d, %d): the host got %r, not %r'
                       % (row, col, session.read('recv.bin'), expected_bytes), timeout=30)
        time.sleep(1.5)  # longer than the double-click time, and nothing more comes
        if session.read('recv.bin') != expected_bytes:
            raise e2e.Fail('the click at (%d, %d): the host got %r, not %r'
                           % (row, col, session.read('recv.bin'), expected_bytes))
    if session.processes[-1].poll() is not None:
        raise e2e.Fail('Tolvi ended')


if __name__ == '__main__':
    sys.exit(e2e.run(test, cases=('table', 'keymap')))
