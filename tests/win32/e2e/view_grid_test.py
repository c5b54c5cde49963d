#!/usr/bin/env python3
"""Every cell where the host put it, at the screen sizes users have: Tolvi.exe on a Wine desktop
of 1024x768, 1280x1024 and 1920x1080 (each on an X screen of its own of that size), maximised
(the default window) and restored from it, with 80 and 132 columns and host colours on, against a
host that runs vim inside tmux on a 400-line C file. When vim has opened the file, scrolled down
(line by line, by half and whole pages) and back up, the painted cells (view_cells.exe) agree
cell by cell with tmux's own copy of the screen (capture-pane): a cell holding a character shows
ink, a blank cell is one colour. The grid lies inside the view (no scroll bar hides a row or a
column) and fills it: the font is the largest that fits, also after a restore. With 80 columns a
dragged selection and Select All show inverted cells, and clearing them leaves the host's cells.

    view_grid_test.py TOLVI_BIN_DIR PROJECT_ROOT

`TOLVI_E2E_CASES=1024x768-max-80,...` runs some of the cases.
"""
import itertools
import os
import subprocess
import sys
import time

import e2e

SCREENS = ((1024, 768), (1280, 1024), (1920, 1080))
CASES = ['%dx%d-%s-%d' % (w, h, state, cols)
         for (w, h), state, cols in itertools.product(SCREENS, ('max', 'restored'), (80, 132))]

LOGIN = r'''#!/bin/bash
cd "$(dirname "$0")"
export LC_ALL=C
exec tmux -S "$PWD/tmux.sock" -f "$PWD/tmux.conf" new-session -s grid \
  "vim -u NONE -i NONE -N -n -c 'syntax on' -c 'set filetype=c nowrap' sample.c"
'''

# No status line; colours for the terminal type Tolvi reports, the default ones by SGR 39 and 49.
TMUX_CONF = '''set -g status off
set -as terminal-overrides ',*:colors=8:setaf=\\E[3%p1%dm:setab=\\E[4%p1%dm:op=\\E[39;49m'
'''

CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
CursorStyle=0
UseHostColor=Yes
MaxCols=%d
'''

DESKTOPS = r'HKCU\Software\Wine\Explorer\Desktops'


def sample_file():
    """400 lines of C: declarations, blank lines, tabs, and lines longer than 132 columns."""
    lines = []
    for i in range(400):
        kind = i % 7
        if kind == 0:
            lines.append('static uint32_t value_%d = %d;  /* bash_completion.d */' % (i, i * 37))
        elif kind == 1:
            lines.append('    if (x%d > 0x%X) { total += x%d; }' % (i, i * 4099, i))
        elif kind == 2:
            lines.append('')
        elif kind == 3:
            lines.append('#include <stdint.h>  // line %d' % i)
        elif kind == 4:
            lines.append('\tcall_%d(alpha, beta, "a string %d");' % (i, i))
        elif kind == 5:
            lines.append(' '.join('word%d_%d' % (i, n) for n in range(20)))
        else:
            lines.append('// ls -la /etc shows bash_completion.d, line %d' % i)
    return '\n'.join(lines) + '\n'


def wine_desktops_gone(displays):
    """True when no Wine desktop window is open on any of the X displays (the previous program's
    desktop has closed, so the next program creates it at the size the registry gives)."""
    for display in displays:
        found = subprocess.run(['xdotool', 'search', '--name', 'Wine desktop'], capture_output=True,
                               env=dict(os.environ, DISPLAY=display))
        if found.returncode == 0 and found.stdout.strip():
            return False
    return True


def start_xvfb(session, width, height):
    """An X screen of the size, stopped with the session; returns its display name."""
    read, write = os.pipe()
    process = subprocess.Popen(['Xvfb', '-displayfd', str(write), '-screen', '0', '%dx%dx24' % (width, height),
                                '-nolisten', 'tcp'], pass_fds=(write,), stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    os.close(write)
    session.processes.append(process)
    with os.fdopen(read) as f:
        number = f.readline().strip()
    if not number:
        raise e2e.Fail('Xvfb did not start')
    return ':' + number


def desktop_size(session, size=None):
    """The size of Wine's default desktop in the registry: read (size None) or set."""
    if size is None:
        out = subprocess.run([session.wine_run, 'reg', 'query', DESKTOPS, '/v', 'Default'],
                             capture_output=True).stdout.decode('latin1')
        words = [w for w in out.split() if 'x' in w and w.replace('x', '').isdigit()]
        return words[0] if words else '1024x768'
    subprocess.run([session.wine_run, 'reg', 'add', DESKTOPS, '/v', 'Default', '/d', size, '/f'],
                   capture_output=True, check=True)


def tmux(session, *args):
    return subprocess.run(['tmux', '-S', session.path('tmux.sock')] + list(args), capture_output=True)


def host_screen(session):
    """tmux's screen: (rows of text, (cursor row, cursor column), (rows, columns)); None before
    tmux runs."""
    shape = tmux(session, 'display', '-p', '-t', 'grid', '#{pane_height} #{pane_width} #{cursor_y} #{cursor_x}')
    text = tmux(session, 'capture-pane', '-p', '-t', 'grid')
    if shape.returncode or text.returncode:
        return None
    rows, cols, y, x = (int(v) for v in shape.stdout.split())
    lines = text.stdout.decode('latin1').split('\n')[:rows]
    return [l.ljust(cols)[:cols] for l in lines + [''] * (rows - len(lines))], (y, x), (rows, cols)


def painted(session, cursor, shape):
    """view_cells.exe's reading: (header words, rows of '#', '.' and 'c'); None without a caret."""
    result = subprocess.run([session.wine_run, os.path.join(session.bin, 'view_cells.exe'), '--title',
                             '(%s)' % e2e.CONFIG_NAME, str(cursor[0]), str(cursor[1]), str(shape[0]),
                             str(shape[1])], capture_output=True)
    if result.returncode != 0:
        return None
    lines = result.stdout.decode('latin1').replace('\r', '').split('\n')
    return lines[0].split(), lines[1:1 + shape[0]]


def view_pixels(session):
    """The terminal view's client area as Windows painted it: (width, height, pixel(x, y))."""
    ppm = session.path('view.ppm')
    subprocess.run([session.wine_run, os.path.join(session.bin, 'view_pixels.exe'), '--title',
                    '(%s)' % e2e.CONFIG_NAME, session.windows_path('view.ppm')], capture_output=True)
    with open(ppm, 'rb') as f:
        data = f.read()
    magic, width, height, depth, pixels = data.split(maxsplit=4)
    width, height = int(width), int(height)
    return width, height, lambda x, y: tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3])


def view_size(session):
    """The width and height of the terminal view's client area on the screen."""
    return view_pixels(session)[:2]


def check_screen(session, name, step, maximised, columns):
    """Waits until the painted cells agree with tmux's screen; then checks the grid's place."""
    last = {}

    def agree():
        host = host_screen(session)
        if not host:
            return False
        text, cursor, shape = host
        reading = painted(session, cursor, shape)
        if reading is None:
            session.click_view()
            return False
        header, cells = reading
        last.update(text=text, cells=cells, header=header)
        if shape[1] != columns or len(cells) < shape[0]:
            return False
        for r, row in enumerate(text):
            for c, ch in enumerate(row):
                want = '.' if ch == ' ' else '#'
                if cells[r][c] != 'c' and cells[r][c] != want:
                    return False
        return header
    try:
        header = e2e.wait_until(agree, 'the window to show the screen', every=0.5)
    except e2e.Fail:
        shot = session.screenshot('e2e-view-grid-%s-%s' % (name, step))
        raise e2e.Fail('%s: the window does not show the screen (%s)\nhost:\n%s\npainted (%s):\n%s'
                       % (step, shot, '\n'.join(last.get('text', [])), ' '.join(last.get('header', [])),
                          '\n'.join(last.get('cells', []))))
    session.screenshot('e2e-view-grid-%s-%s' % (name, step))
    cell_w, cell_h, x, y, zoomed = (int(header[i]) for i in (1, 2, 4, 5, 10))
    width, height = view_size(session)
    rows = len(last['text'])
    if bool(zoomed) != maximised:
        raise e2e.Fail('%s: the main window is %s' % (step, 'maximised' if zoomed else 'not maximised'))
    if x < 0 or y < 0 or x + columns * cell_w > width or y + rows * cell_h > height:
        raise e2e.Fail('%s: the grid (%d x %d cells of %d x %d at %d, %d) leaves the view (%d x %d)'
                       % (step, columns, rows, cell_w, cell_h, x, y, width, height))
    # The largest font that fits (also in a restored window, which fits its font): the grid
    # fills the view in one direction at least.
    if columns * cell_w < 0.85 * width and rows * cell_h < 0.85 * height:
        raise e2e.Fail('%s: cells of %d x %d leave much of the view (%d x %d) empty'
                       % (step, cell_w, cell_h, width, height))
    return header


def check_selection(session, name, header, maximised, columns):
    """A selection shows as highlighted (inverted) cells while the mouse drags it and after
    Edit/Select All, and clearing it leaves the cells as the host has them."""
    cell_w, cell_h, x, y, screen_x, screen_y = (int(header[i]) for i in (1, 2, 4, 5, 7, 8))
    text = host_screen(session)[0]
    # A blank cell inside the dragged rectangle (rows 1-4, columns 1-20) shows the background.
    blank = next(((r, c) for r in range(1, 5) for c in range(1, 21) if text[r][c] == ' '), None)
    if blank is None:
        raise e2e.Fail('no blank cell to watch in the selection')
    centre = (x + blank[1] * cell_w + cell_w // 2, y + blank[0] * cell_h + cell_h // 2)
    background = view_pixels(session)[2](*centre)
    inverted = tuple(255 - v for v in background)

    def shows(colour):
        return lambda: view_pixels(session)[2](*centre) == colour

    def corner_on_screen(row, col):
        """The screen point just inside the top-left corner of a cell."""
        return str(screen_x + col * cell_w + 1), str(screen_y + row * cell_h + 1)
    # From the corner of cell (1, 1) to that of cell (5, 21): the drag covers rows 1-4, columns 1-20.
    subprocess.run(['xdotool', 'mousemove'] + list(corner_on_screen(1, 1)) + ['mousedown', '1'], check=True)
    for col in (6, 13, 21):
        subprocess.run(['xdotool', 'mousemove'] + list(corner_on_screen(5, col)), check=True)
    try:
        e2e.wait_until(shows(inverted), lambda: 'the dragged selection to be highlighted (%r at %r, was %r)' % (
            view_pixels(session)[2](*centre), centre, background), timeout=20)
    finally:
        session.screenshot('e2e-view-grid-%s-dragging' % name)
        subprocess.run(['xdotool', 'mouseup', '1'], check=True)
    keys('alt+e', 'l')  # Clear Selection
    e2e.wait_until(shows(background), 'the cleared selection to leave the cells', timeout=20)
    check_screen(session, name, 'dragged-and-cleared', maximised, columns)
    keys('alt+e', 'a')  # Select All
    e2e.wait_until(shows(inverted), 'Select All to highlight the cells', timeout=20)
    session.screenshot('e2e-view-grid-%s-select-all' % name)
    keys('alt+e', 'l')
    e2e.wait_until(shows(background), 'the cleared selection to leave the cells', timeout=20)
    check_screen(session, name, 'selected-and-cleared', maximised, columns)


def keys(*names):
    subprocess.run(['xdotool', 'key', '--delay', '120'] + list(names), check=True)


def test(session, name):
    size, state, columns = name.split('-')
    width, height = (int(v) for v in size.split('x'))
    maximised = state == 'max'
    columns = int(columns)
    home_display = os.environ.get('DISPLAY', '')
    display = start_xvfb(session, width, height)
    e2e.wait_until(lambda: wine_desktops_gone([d for d in (home_display, display) if d]),
                   'the Wine desktop of the previous program to close')
    os.environ['DISPLAY'] = display
    try:
        run_case(session, size, maximised, columns, name)
    finally:
        # Wine's desktop must close while its X screen still exists; a desktop whose X window
        # went with the screen would be joined by the next program.
        stop_all_but_xvfb(session)
        try:
            e2e.wait_until(lambda: wine_desktops_gone([display]), 'the Wine desktop to close', timeout=20)
        except e2e.Fail:
            # A Tolvi.exe that outlived its launcher keeps the desktop open.
            subprocess.run([session.wine_run, 'taskkill', '/f', '/im', 'Tolvi.exe'], capture_output=True)
            e2e.wait_until(lambda: wine_desktops_gone([display]), 'the Wine desktop to close')
        os.environ['DISPLAY'] = home_display


def stop_all_but_xvfb(session):
    xvfb = session.processes[0]
    others = session.processes[1:]
    session.processes = [xvfb]
    for process in reversed(others):
        if process.poll() is None:
            process.terminate()
    for process in others:
        try:
            process.wait(timeout=15)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def run_case(session, size, maximised, columns, name):
    before = desktop_size(session)
    try:
        desktop_size(session, size)
        session.write('sample.c', sample_file())
        session.write('tmux.conf', TMUX_CONF)
        port = session.telnetd(LOGIN)
        session.tolvi(CONFIG % columns, '/ip:127.0.0.1', '/tport:%d' % port, '/c')
        e2e.wait_until(lambda: e2e.xdotool_out('search', '--onlyvisible', '--name', e2e.WINDOW_NAME),
                       "Tolvi's window")
    finally:
        # The desktop exists now at its size; the next program gets the usual one again.
        desktop_size(session, before)
    e2e.wait_until(lambda: host_screen(session), 'tmux to start', timeout=30)
    session.click_view()
    if not maximised:
        keys('alt+space', 'r')  # the system menu's Restore
        session.click_view()
    header = check_screen(session, name, 'opened', maximised, columns)
    if columns == 80:
        check_selection(session, name, header, maximised, columns)
    keys(*(['ctrl+e'] * 6 + ['ctrl+d'] * 4 + ['ctrl+f'] * 2))
    check_screen(session, name, 'down', maximised, columns)
    keys(*(['ctrl+y'] * 6 + ['ctrl+u'] * 3 + ['ctrl+b']))
    check_screen(session, name, 'up', maximised, columns)

if __name__ == '__main__':
    chosen = [c for c in os.environ.get('TOLVI_E2E_CASES', '').split(',') if c]
    sys.exit(e2e.run(test, chosen or CASES))
