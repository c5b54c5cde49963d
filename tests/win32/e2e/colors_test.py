#!/usr/bin/env python3
"""Tolvi.exe against telnetd: the colours and boxes dialogs from the menu. The log-in prints
normal, bold and reversed text; Config/Colors and Attributes is opened with keys, red is picked
for Bold's foreground (by control id, with dlgdrive) and OK pressed. Text the host prints after
that shows bold in red while normal and reversed text keep their colours (the cells already on the
screen keep the colours they were printed in); File/Save config writes the colour, and Tolvi
started again on the saved file prints bold in red. Config/Boxes then gives Bold's foreground an
out-box, which draws light and dark edges around the bold text. Screenshots of both dialogs are
kept in build/win64/screens.

Case history: with history colouring off, the blank history rows above the screen (View/History
Scrollback) show the normal background; switching "History lines" on in Config/Colors and
Attributes recolours those rows already there in the history lines' background, and a later
change of Bold's colour leaves them so.

Case host: with host colours on (as the demo has them) the host's colours last only until it
switches them off: after SGR 0, 39 and 49 the text is drawn in the normal colours again, a line
erased under a red background is red to its end, one erased after SGR 0 is not. Checked on the
view's pixels, cell by cell.

    colors_test.py TOLVI_BIN_DIR PROJECT_ROOT
"""
import os
import subprocess
import sys
import time
import zlib

import e2e
from button_pictures_test import grab

LOGIN = r'''#!/bin/bash
export PS1='tolvi$ '
show() { printf 'plain \033[1mBOLDBOLDBOLD\033[0m \033[7mREVERSED\033[0m\r\n'; }
export -f show
show
exec /bin/bash --norc --noprofile -i
'''

CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
CursorStyle=0
'''

# Palette colours (red, green, blue) of the default palette at brightness 0.
RED = (128, 0, 0)          # index 6, picked for Bold
LIGHT_BLUE = (0, 0, 255)   # index 13, Bold's default foreground
LIGHT_RED = (255, 0, 0)    # index 16, Reversed's foreground
BLUE = (0, 0, 128)         # index 3, Normal's foreground
LIGHT = (255, 255, 255)    # index 19, the boxes' light edge
DARK = (128, 128, 128)     # index 12, the boxes' dark edge

HISTORY_LINES = 3039      # the "History lines" check box
BOLD_ENTRY = 1             # the attribute list's second entry: "Bold "
RED_FOREGROUND = 3004      # the foreground button of colour 6
OUT_BOX = 3112
ENABLE_BOXES = 3117


def read_png(path):
    """(width, height, rows of bytes RGB) of screengrab's PNG (8-bit RGB, no filtering)."""
    with open(path, 'rb') as f:
        data = f.read()
    pos, width, height, idat = 8, 0, 0, b''
    while pos < len(data):
        length = int.from_bytes(data[pos:pos + 4], 'big')
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        if kind == b'IHDR':
            width, height = int.from_bytes(body[0:4], 'big'), int.from_bytes(body[4:8], 'big')
        elif kind == b'IDAT':
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * 3 + 1
    return width, height, [raw[y * stride + 1:(y + 1) * stride] for y in range(height)]


def window_rect():
    window = e2e.wait_until(lambda: e2e.xdotool_out('search', '--onlyvisible', '--name', e2e.WINDOW_NAME),
                            "Tolvi's window").split()[0]
    geometry = dict(line.split('=') for line in e2e.xdotool_out('getwindowgeometry', '--shell', window).split()
                    if '=' in line)
    x, y = int(geometry['X']), int(geometry['Y'])
    return x, y, x + int(geometry['WIDTH']), y + int(geometry['HEIGHT'])


def colour_counts(session, name, colours):
    """How many pixels of each colour Tolvi's window shows (from a screenshot kept as NAME)."""
    shot = session.screenshot(name)
    width, height, rows = read_png(shot)
    left, top, right, bottom = window_rect()
    wanted = {bytes(c): 0 for c in colours}
    for y in range(max(0, top), min(height, bottom)):
        row = rows[y]
        for x in range(max(0, left), min(width, right)):
            pixel = row[x * 3:x * 3 + 3]
            if pixel in wanted:
                wanted[pixel] += 1
    return {c: wanted[bytes(c)] for c in colours}


def dlgdrive(session, caption, *commands):
    # On a busy machine wine now and then ends with a failure before the program has run (nothing
    # printed at all); dlgdrive itself always says why it failed, so only a silent failure is retried.
    for attempt in range(3):
        result = subprocess.run([session.wine_run, os.path.join(session.bin, 'dlgdrive.exe'), caption] +
                                [str(c) for c in commands], capture_output=True)
        if result.returncode == 0 or result.stdout or result.stderr:
            break
        time.sleep(1 + attempt)
    if result.returncode != 0:
        raise e2e.Fail('dlgdrive %s %r: status %d %s' % (caption, commands, result.returncode,
                                                          result.stderr.decode(errors='replace')))
    return result.stdout.decode().replace('\r', '').split('\n')


def menu_keys(*keys):
    for key in keys:
        subprocess.run(['xdotool', 'key', key], check=True)
        time.sleep(0.4)


def start(session, config_text):
    port = session.telnetd(LOGIN)
    session.tolvi(config_text, '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    session.wait_received(b'tolvi$ ')
    rows, cursor = session.termfeed(session.received(), 2)
    session.wait_painted(rows, cursor)
    session.click_view()


def show_again(session):
    mark = len(session.received())
    session.type_line('show')
    session.wait_received(b'REVERSED', mark)
    session.wait_received(b'tolvi$ ', mark)
    rows, cursor = session.termfeed(session.received(), 2)
    session.wait_painted(rows, cursor)


def test(session, case):
    if case == 'history':
        return history_rows(session)
    if case == 'host':
        return host_colours(session)
    start(session, CONFIG)
    colours = (RED, LIGHT_BLUE, LIGHT_RED, BLUE, LIGHT, DARK)
    before = colour_counts(session, 'e2e-colors-before', colours)
    if before[LIGHT_BLUE] < 20 or before[LIGHT_RED] < 20:
        raise e2e.Fail('bold and reversed text are not in their default colours: %r' % before)

    menu_keys('alt+c', 'c')
    entry = dlgdrive(session, 'Colors', 'item', 2991, BOLD_ENTRY)
    if entry[0] != 'Bold ':
        raise e2e.Fail('the second entry of the attribute list is not Bold: %r' % entry)
    dlgdrive(session, 'Colors', 'pick', 2991, BOLD_ENTRY, 'click', RED_FOREGROUND)
    if dlgdrive(session, 'Colors', 'pressed', RED_FOREGROUND)[0] != '1':
        raise e2e.Fail('the red foreground button is not pressed')
    session.keep_dialog('Colors', 'e2e-dialog-colors')
    dlgdrive(session, 'Colors', 'click', 1, 'wait-closed')

    session.click_view()
    show_again(session)
    after = colour_counts(session, 'e2e-colors-after', colours)
    if after[RED] < before[RED] + 20:
        raise e2e.Fail('bold text printed after OK is not red: %r then %r' % (before, after))
    if after[LIGHT_BLUE] < before[LIGHT_BLUE] * 0.8:
        raise e2e.Fail('the bold cells printed before changed colour: %r then %r' % (before, after))
    if after[LIGHT_RED] < before[LIGHT_RED] * 1.6 or after[BLUE] <= before[BLUE]:
        raise e2e.Fail('normal and reversed text did not keep their colours: %r then %r' % (before, after))

    menu_keys('alt+f', 's')
    config = session.path(e2e.CONFIG_NAME)
    e2e.wait_until(lambda: b'BoldFgColor=6' in session.read(e2e.CONFIG_NAME), 'BoldFgColor=6 in the saved file')

    # Again on the saved file: bold is red from the start.
    with open(config, 'rb') as f:
        saved = f.read().decode('latin1').replace('\r\n', '\n')
    session.stop()
    again = e2e.Session(session.bin, session.root)
    try:
        start(again, saved)
        restarted = colour_counts(again, 'e2e-colors-restarted', colours)
        if restarted[RED] < before[RED] + 20 or restarted[LIGHT_BLUE] > before[LIGHT_BLUE] // 4:
            raise e2e.Fail('after the restart bold text is not red: %r (first start %r)' % (restarted, before))

        # Boxes: an out-box for Bold's (now red) foreground.
        menu_keys('alt+c', 'b')
        dlgdrive(again, 'Boxes', 'click', RED_FOREGROUND, 'click', OUT_BOX)
        if dlgdrive(again, 'Boxes', 'checked', ENABLE_BOXES)[0] != '1':
            dlgdrive(again, 'Boxes', 'click', ENABLE_BOXES)
        again.keep_dialog('Boxes', 'e2e-dialog-boxes')
        dlgdrive(again, 'Boxes', 'click', 1, 'wait-closed')
        again.click_view()
        boxed = colour_counts(again, 'e2e-boxes-after', colours)
        if boxed[LIGHT] < restarted[LIGHT] + 20 or boxed[DARK] < restarted[DARK] + 20:
            raise e2e.Fail('no light and dark edges around the bold text: %r then %r' % (restarted, boxed))
    finally:
        again.stop()


def history_rows(session):
    # The history lines' background is red, which nothing else on the screen shows.
    start(session, CONFIG + 'HistoryRows=40\nUseHistoryLinesColor=No\nHistoryLinesBgColor=6\n')
    menu_keys('alt+v', 'h')
    session.click_view()
    before = colour_counts(session, 'e2e-colors-history-before', (RED,))[RED]
    if before > 200:
        raise e2e.Fail('the history rows show their colour before it was switched on: %d red pixels' % before)

    menu_keys('alt+c', 'c')
    if dlgdrive(session, 'Colors', 'checked', HISTORY_LINES)[0] != '0':
        raise e2e.Fail('"History lines" is checked with UseHistoryLinesColor=No')
    dlgdrive(session, 'Colors', 'click', HISTORY_LINES)
    session.keep_dialog('Colors', 'e2e-dialog-colors-history')
    dlgdrive(session, 'Colors', 'click', 1, 'wait-closed')
    recoloured = e2e.wait_until(
        lambda: (lambda n: n if n > before + 20000 else None)(
            colour_counts(session, 'e2e-colors-history-on', (RED,))[RED]),
        'the history rows to take the history colour')

    # Another attribute's colour leaves the history rows as they are.
    session.click_view()
    menu_keys('alt+c', 'c')
    dlgdrive(session, 'Colors', 'pick', 2991, BOLD_ENTRY, 'click', RED_FOREGROUND + 1)
    dlgdrive(session, 'Colors', 'click', 1, 'wait-closed')
    time.sleep(1.0)
    after = colour_counts(session, 'e2e-colors-history-bold', (RED,))[RED]
    if abs(after - recoloured) > recoloured // 10:
        raise e2e.Fail('a change of Bold recoloured the history rows: %d red pixels, then %d' % (recoloured, after))


HOST_LOGIN = r'''#!/bin/bash
export PS1='tolvi$ '
printf '\033[32mAAAA\033[0mBBBB \033[31mCCCC\033[mDDDD \033[35mEEEE\033[39mFFFF\r\n'
printf '\033[41m\033[KRED\033[0m\r\n\033[42mGGGG\033[49m\033[Kplain\r\n'
exec /bin/bash --norc --noprofile -i
'''
GREEN = (0, 128, 0)
MAGENTA = (128, 0, 128)


def host_colours(session):
    port = session.telnetd(HOST_LOGIN)
    session.tolvi(CONFIG + 'UseHostColor=Yes\n', '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    session.wait_received(b'tolvi$ ')
    # The pixels alone, whatever the cell grid: the first line is the one with green text, the
    # colours' places along it tell which letters they paint.
    def shown():
        at = grab(session)
        if not at:
            return None
        width, height = map(int, open(session.path('view.ppm'), 'rb').read().split(b'\n', 3)[1].split())
        rows = [[at(x, y) for x in range(width)] for y in range(height)]
        text = [y for y in range(height) if GREEN in rows[y] and RED in rows[y] and MAGENTA in rows[y]]
        return (rows, text) if text else None
    rows, text = e2e.wait_until(shown, 'the coloured line in the view')
    line = [p for y in text for p in enumerate(rows[y])]

    def xs(colour):
        return [x for x, p in line if p == colour]
    green, red, magenta, blue = xs(GREEN), xs(RED), xs(MAGENTA), xs(BLUE)
    problems = []
    if not (max(green) < min(red) and max(red) < min(magenta)):
        problems.append('the colours are not in the order green, red, magenta')
    for what, left, right in (('B after 0', max(green), min(red)), ('D after m', max(red), min(magenta)),
                              ('F after 39', max(magenta), 10 ** 6)):
        if not any(left < x < right for x in blue):
            problems.append('%s is not in the normal foreground' % what)
    # The erased lines: red to the end under 41, and after 49 green only under GGGG.
    widths = {colour: max(sum(1 for p in r if p == colour) for r in rows) for colour in (RED, GREEN)}
    if widths[RED] < len(rows[0]) // 2:
        problems.append('the line erased under 41 is not red to its end (%d red pixels a row)' % widths[RED])
    if widths[GREEN] > len(rows[0]) // 4:
        problems.append('the line erased after 49 took the green background (%d green pixels a row)' % widths[GREEN])
    if problems:
        raise e2e.Fail('host colours: ' + '; '.join(problems))


if __name__ == '__main__':
    sys.exit(e2e.run(test, ('attributes', 'history', 'host')))
