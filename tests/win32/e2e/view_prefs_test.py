#!/usr/bin/env python3
"""Tolvi.exe against telnetd: Config/Preferences/View, opened from the menu with keys and driven
by control id with dlgdrive.

Case buttons: the button file (a play file, named in Config/Preferences/File names) makes a host
button. With the button panel off nothing plays it; switching "Enable button panel" on plays it
and the button shows (its light top and dark bottom edges probed in the view's pixels);
switching the hotspots off deletes it again.

Case maximised: in a maximised window a new frame size lays the window out anew: the screen's cell
grid moves and the window stays maximised (read with view_cells).

Case logo: a maximised window (its placement given) with 132 columns in a font that keeps its size
is wider than the screen; paged to the right by a click into the scroll bar, the view shows the
logo at the top moved left with the page and at its own size: the top rows hold the logo's
pixels and the strip's colour, nothing else (read from the view's pixels).

Case cancel: Colors and Attributes, Boxes, View, Keyboard Map and Dynamic Hotspots, each edited
and cancelled, leave the configuration File/Save config writes byte-identical and mark no data
file to be written.

    view_prefs_test.py TOLVI_BIN_DIR PROJECT_ROOT
"""
import os
import struct
import subprocess
import sys
import time

import e2e
import shell_session_test
from button_pictures_test import grab, near
from session_dialogs_test import check, dlgdrive, dlgdrive_run, keys

CONFIG = shell_session_test.CONFIG + '''EnableHotspots=Yes
EnableButtonPanel=No
FrameSize=3
AlignDisplay=0
'''

DIALOG = 'View Preferences'
FRAME_SIZE, ENABLE_HOTSPOTS, BUTTON_PANEL = 3065, 3117, 3118
FILES_DIALOG = 'File name preferences'
HISTORY_LINES = 3039  # Colors and Attributes
BUTTON_FILE_NAME = 3073

# A host button at pixels (420, 80) of the view, 160 x 48, frame depth 2, no picture.
BUTTON = (420, 80, 160, 48)
BUTTON_FILE = 'COMM:\nDATA: "<esc>[7;2;%d;%d;%d;%d;0;0;0;2;2;0;0y;Panel;panel<esc><5c>"\n' % BUTTON


def start(session, config):
    port = session.telnetd(shell_session_test.LOGIN)
    session.tolvi(config, '/ip:127.0.0.1', '/tport:%d' % port, '/c')
    session.wait_received(b'tolvi$ ')
    rows, cursor = session.termfeed(session.received(), 2)
    session.wait_painted(rows, cursor)
    session.click_view()


def view_prefs(session, *commands, shot=None):
    """Config/Preferences/View (Preferences sits above Reset to Default and Lock settings)."""
    keys('alt+c', 'Up', 'Up', 'Up', 'Right', 'v')
    dlgdrive(session, DIALOG, 'text', FRAME_SIZE)  # waits for the dialog
    for id_, on in commands:
        if isinstance(on, bool):
            check(session, DIALOG, id_, on)
        else:
            dlgdrive(session, DIALOG, 'settext', id_, on)
    if shot:
        session.keep_dialog(DIALOG, shot)
    dlgdrive(session, DIALOG, 'click', 1, 'wait-closed')
    session.click_view()


def button_shown(session):
    """True when the button's raised frame shows: light along its top, dark along its bottom."""
    at = grab(session)
    if not at:
        return None
    x, y, w, h = BUTTON
    light = [at(i, y) for i in range(x + 4, x + w - 4, 4)]
    dark = [at(i, y + h - 1) for i in range(x + 4, x + w - 4, 4)]
    return all(p and near(p, (255, 255, 255), 8) for p in light) and \
        all(p and near(p, (128, 128, 128), 8) for p in dark)


def grid(session):
    """The view's cell grid and whether the main window is maximised: (cell_w, cell_h, origin_x,
    origin_y, zoomed); None while the view shows no caret (it stands after the prompt)."""
    result = subprocess.run([session.wine_run, os.path.join(session.bin, 'view_cells.exe'), '--title',
                             '(%s)' % e2e.CONFIG_NAME, '0', '7'], capture_output=True)
    info = result.stdout.decode().split()
    return tuple(int(info[i]) for i in (1, 2, 4, 5, 10)) if result.returncode == 0 else None


def buttons(session):
    session.write('panel.but', BUTTON_FILE)
    start(session, CONFIG)
    keys('alt+c', 'Up', 'Up', 'Up', 'Right', 'f')
    dlgdrive(session, FILES_DIALOG, 'settext', BUTTON_FILE_NAME, session.windows_path('panel.but'),
             'click', 1, 'wait-closed')
    session.click_view()
    if button_shown(session):
        raise e2e.Fail('the button file played with the button panel off')

    view_prefs(session, (BUTTON_PANEL, True), shot='e2e-dialog-view-prefs')
    e2e.wait_until(lambda: button_shown(session), 'the button file to make its button', timeout=30, every=1)
    session.screenshot('e2e-view-prefs-button')

    view_prefs(session, (ENABLE_HOTSPOTS, False))
    e2e.wait_until(lambda: button_shown(session) is False, 'the host button to go', timeout=30, every=1)
    session.screenshot('e2e-view-prefs-no-button')


def maximised(session):
    start(session, CONFIG)
    keys('alt+space', 'x')  # the system menu's Maximize
    session.click_view()
    before = e2e.wait_until(lambda: (lambda g: g if g and g[4] else None)(grid(session)),
                            'the main window to be maximised')

    view_prefs(session, (FRAME_SIZE, '20'))

    def moved():
        g = grid(session)
        return g if g and g[2:4] != before[2:4] else None
    try:
        after = e2e.wait_until(moved, 'the cell grid to move', timeout=30, every=1)
    except e2e.Fail:
        raise e2e.Fail('the cell grid stayed at %r after the frame size grew' % (before,))
    if not after[4]:
        raise e2e.Fail('the main window is no longer maximised')
    session.screenshot('e2e-view-prefs-maximised')


LOGO_CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
AutoConnect=No
CursorStyle=0
MaxCols=132
FontSize132=-18
'''


def logo_picture(root):
    """The logo as the program holds it (resources/logo.bmp, 24 bits a pixel, rows bottom up):
    its size and {(x, y): (r, g, b)} of the pixels that are not white (white is transparent)."""
    with open(os.path.join(root, 'resources', 'logo.bmp'), 'rb') as f:
        data = f.read()
    offset, = struct.unpack_from('<I', data, 10)
    width, height = struct.unpack_from('<ii', data, 18)
    stride = (width * 3 + 3) & ~3
    ink = {}
    for y in range(height):
        row = offset + (height - 1 - y) * stride
        for x in range(width):
            b, g, r = data[row + 3 * x:row + 3 * x + 3]
            if (r, g, b) != (255, 255, 255):
                ink[(x, y)] = (r, g, b)
    return width, height, ink


def view_picture(session):
    """The view's client area as painted: (width, height, pixel(x, y), its corner on the screen);
    None without a view."""
    ppm = session.path('view.ppm')
    result = subprocess.run([session.wine_run, os.path.join(session.bin, 'view_pixels.exe'), '--title',
                             '(%s)' % e2e.CONFIG_NAME, session.windows_path('view.ppm')], capture_output=True)
    if result.returncode:
        return None
    with open(ppm, 'rb') as f:
        _, width, height, _, pixels = f.read().split(maxsplit=4)
    width, height = int(width), int(height)
    corner = tuple(int(v) for v in result.stdout.split()[:2])
    return width, height, lambda x, y: tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3]), corner


def logo_at(picture, logo):
    """The left edge of the whole logo in the view's top rows; None where it is not."""
    width, _, at, _ = picture
    logo_width, _, ink = logo
    (fx, fy), first = min(ink.items())
    for x in range(0, width - logo_width + 1):
        if at(x + fx, fy) == first and all(at(x + i, j) == c for (i, j), c in ink.items()):
            return x
    return None


def beside_logo(picture, logo, x):
    """The pixels of the logo's rows that are neither the logo's nor the strip's colour there
    (the colour of the row's first pixel): what a blit larger than the logo leaves."""
    width, _, at, _ = picture
    logo_width, logo_height, ink = logo
    strip = at(0, 0)
    wrong = []
    for y in range(logo_height):
        for px in range(width):
            inside = x <= px < x + logo_width
            expected = ink.get((px - x, y), strip) if inside else strip
            if at(px, y) != expected:
                wrong.append((px, y))
    return wrong


def logo_shown(session, logo):
    """(the view's picture, the logo's left edge in it); None while the logo is not shown whole."""
    picture = view_picture(session)
    left = picture and logo_at(picture, logo)
    return (picture, left) if left is not None else None


def check_logo_size(picture, logo, left, where):
    wrong = beside_logo(picture, logo, left)
    if wrong:
        xs, ys = [p[0] for p in wrong], [p[1] for p in wrong]
        raise e2e.Fail('%s the logo at %d is drawn larger: %d pixels beside it, x %d-%d, y %d-%d'
                       % (where, left, len(wrong), min(xs), max(xs), min(ys), max(ys)))


def logo(session):
    session.tolvi(LOGO_CONFIG, record=False, placement={'Show': 3, 'ScaleFont': 0, 'ShowTolviImage': 1})
    e2e.wait_until(session.title, "Tolvi's window")
    picture = logo_picture(session.root)
    before, left = e2e.wait_until(lambda: logo_shown(session, picture), 'the logo at the top of the view')
    check_logo_size(before, picture, left, 'before paging')
    # A click into the scroll bar's trough, right of its box, below the view's client area (132
    # columns of this font are wider than the screen).
    width, height, _, (client_x, client_y) = before
    subprocess.run(['xdotool', 'mousemove', str(client_x + width - 40), str(client_y + height + 6), 'click', '1'],
                   check=True)
    after, moved = e2e.wait_until(lambda: (lambda r: r if r and r[1] < left else None)(logo_shown(session, picture)),
                                  'the logo to move left with the page', timeout=30)
    session.screenshot('e2e-view-prefs-logo-paged')
    check_logo_size(after, picture, moved, 'paged by %d pixels,' % (left - moved))


def save(session):
    """File/Save config; waits until the configuration file is written anew."""
    path = session.path(e2e.CONFIG_NAME)
    before = os.stat(path).st_mtime_ns
    session.click_view()
    keys('alt+f', 's')
    e2e.wait_until(lambda: os.stat(path).st_mtime_ns != before, 'File/Save config to write the configuration')
    time.sleep(1)
    return session.read(e2e.CONFIG_NAME)


def data_files(session):
    return sorted(name for name in os.listdir(session.dir)
                  if name.startswith('tolvi-e2e.') and name != e2e.CONFIG_NAME)


def cancel_each(session, menu, caption, *edits, answer=None):
    """Opens a dialog from the menu, edits it, cancels, and answers the question Cancel asks."""
    session.click_view()
    keys(*menu)
    dlgdrive(session, caption, *edits)
    if not answer:
        dlgdrive(session, caption, 'click', 2, 'wait-closed')
        return
    dlgdrive(session, caption, 'postclick', 2)
    dlgdrive(session, 'Tolvi', '--wait', '10000', 'click', answer, 'wait-closed')
    e2e.wait_until(lambda: dlgdrive_run(session, caption, 'text', 2, wait=0).returncode == 2,
                   caption + ' to close')


def cancel(session):
    start(session, CONFIG.replace('AutonameFiles=No', 'AutonameFiles=Yes'))
    # The second save is the reference: the first one still rewrites a box list of the file.
    save(session)
    saved = save(session)
    for name in data_files(session):
        os.remove(session.path(name))

    preferences = ('alt+c', 'Up', 'Up', 'Up', 'Right')
    cancel_each(session, ('alt+c', 'c'), 'Colors', 'pick', 2991, 1, 'click', 3004, 'click', HISTORY_LINES)
    cancel_each(session, ('alt+c', 'b'), 'Boxes', 'click', 3004, 'click', 3112)
    cancel_each(session, preferences + ('v',), DIALOG, 'settext', FRAME_SIZE, '20', 'click', BUTTON_PANEL,
                'click', ENABLE_HOTSPOTS)
    cancel_each(session, ('alt+c', 'k'), 'Keyboard Mapping', 'click', 1014, 'type', 1038, 'F5',
                'settext', 3047, 'echo cancelled<cr>', 'click', 3044, answer=6)
    cancel_each(session, preferences + ('y',), 'Dynamic Hotspots Settings', 'click', 3118,
                'type', 3279, 'word', 'settext', 3284, 'x', 'click', 3285, answer=1)

    again = save(session)
    if again != saved:
        raise e2e.Fail('the configuration saved after the cancelled dialogs differs:\n%s\n---\n%s'
                       % (saved.decode('latin1'), again.decode('latin1')))
    if data_files(session):
        raise e2e.Fail('a cancelled dialog marked data files to be written: %r' % data_files(session))


def test(session, case):
    {'buttons': buttons, 'maximised': maximised, 'logo': logo, 'cancel': cancel}[case](session)


if __name__ == '__main__':
    chosen = os.environ.get('TOLVI_E2E_CASES')
    sys.exit(e2e.run(test, tuple(chosen.split(',')) if chosen else ('buttons', 'maximised', 'logo', 'cancel')))
