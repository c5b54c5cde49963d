#!/usr/bin/env python3
"""Compares the cell colours of our screen with two reference terminals on colour streams.

The streams are what colour hosts write: ls --color (run on a folder of every kind of entry),
an editor's syntax colouring, a process viewer's meters and bars, a file manager's blue panels
and its exit, the ANSI palette in order, and erases, insertions and scrolling under a host
background. Each goes to termfeed with host colours on, to libvterm (vterm_screen --cells) and
to the headless xterm.js (xterm_screen.js --cells).

The references' cells are turned into what a person sees with this terminal's rules: the
default colours are our normal colours, reverse swaps foreground and background, bold without
true bold brightens the foreground, invisible draws it in the background colour. Blank cells
compare by their background only. A cell fails when both references agree on it and our cell
differs; cells where the references disagree are counted, not judged.

    colour_compare.py TERMFEED VTERM_SCREEN XTERM_SCRIPT XTERM_MODULES OUTDIR

Exit 0 on success, 1 on differences, 77 (skip) when a reference is missing.
"""
import os
import shutil
import subprocess
import sys
import tempfile

from vttest_compare import rows_of, skip

ROWS, COLS = 24, 80
ANSI_TO_PALETTE = [2, 6, 4, 8, 3, 7, 5, 9]  # black red green yellow blue magenta cyan white
BOLD, REVERSE, INVISIBLE = 1, 2, 4


def csi(text):
    return b'\x1b[' + text.encode()


def ls_stream():
    """ls --color=always, short and long form, run on a folder with every kind of entry."""
    with tempfile.TemporaryDirectory() as folder:
        for name in ('docs', 'bin'):
            os.mkdir(os.path.join(folder, name))
        shared = os.path.join(folder, 'shared')
        os.mkdir(shared)
        os.chmod(shared, 0o1777)
        for name in ('notes.txt', 'archive.tar.gz', 'picture.png', 'setuid', 'run.sh'):
            open(os.path.join(folder, name), 'w').close()
        os.chmod(os.path.join(folder, 'run.sh'), 0o755)
        os.chmod(os.path.join(folder, 'setuid'), 0o4755)
        os.symlink('notes.txt', os.path.join(folder, 'link'))
        os.symlink('missing', os.path.join(folder, 'broken'))
        os.mkfifo(os.path.join(folder, 'pipe'))
        env = dict(os.environ, LC_ALL='C', TZ='UTC')
        database = subprocess.run(['dircolors', '-b'], capture_output=True, text=True, env=env).stdout
        env['LS_COLORS'] = database.split("'")[1]
        out = b''
        for args in (['-C', '-w', '80'], ['-l', '--time-style=+%Y']):
            out += b'$ ls --color\r\n'
            out += subprocess.run(['ls', '--color=always'] + args, cwd=folder, capture_output=True,
                                  env=env, check=True).stdout.replace(b'\n', b'\r\n')
    return out + b'$ echo plain\r\nplain\r\n$ '


def issue_line():
    return (b'\x1b[32mA\x1b[0mB \x1b[31mC\x1b[mD \x1b[34mE\x1b[39mF\r\n'
            b'\x1b[42mG\x1b[49mH \x1b[33;45mI\x1b[0mJ\r\n$ after')


def editor_stream():
    """Syntax colouring as an editor with 8 colours paints it, then a scroll and an edit."""
    lines = [
        '\x1b[35m#include\x1b[m \x1b[31m<stdio.h>\x1b[m',
        '',
        '\x1b[32mstatic\x1b[m \x1b[32mint\x1b[m counter = \x1b[31m0\x1b[m;',
        '\x1b[34m/* Counts the lines of a file. */\x1b[m',
        '\x1b[32mint\x1b[m main(\x1b[32mint\x1b[m argc, \x1b[32mchar\x1b[m **argv)',
        '{',
        '    \x1b[33mif\x1b[m (argc < \x1b[31m2\x1b[m) \x1b[33mreturn\x1b[m \x1b[31m1\x1b[m;',
        '    printf(\x1b[31m"%d\x1b[m\x1b[35m\\n\x1b[m\x1b[31m"\x1b[m, counter);',
        '    \x1b[33mreturn\x1b[m \x1b[31m0\x1b[m;',
        '}',
    ]
    out = csi('m') + csi('H') + csi('2J')
    for n, line in enumerate(lines, 1):
        out += csi('%d;1H' % n) + ('\x1b[33m%3d \x1b[m' % n + line).encode() + csi('K')
    for n in range(len(lines) + 1, ROWS):
        out += csi('%d;1H' % n) + b'\x1b[1m\x1b[34m~\x1b[m' + csi('K')
    out += csi('24;1H') + b'\x1b[1m-- INSERT --\x1b[m' + csi('24;63H') + b'10,1' + csi('11C') + b'All'
    # Scroll the text region one line up and colour the new last line.
    out += csi('1;23r') + csi('23;1H') + b'\n' + csi('r')
    out += csi('23;1H') + b'\x1b[33m 11 \x1b[m\x1b[34m// added\x1b[m' + csi('K')
    # A highlighted search match and a visual selection.
    out += csi('7;20H') + b'\x1b[30;43mreturn\x1b[m' + csi('9;5H') + b'\x1b[7m    return 0;\x1b[m'
    # A colour scheme with its own background: the line is erased in it.
    out += csi('12;1H') + b'\x1b[37;44m' + csi('K') + b' 12 scheme line' + b'\x1b[m'
    return out + csi('5;7H')


def viewer_stream():
    """A process viewer: meters, a coloured header bar, a selected row, the key bar."""
    out = csi('H') + csi('2J')
    out += (b'  1  [\x1b[32m||||||\x1b[31m|||\x1b[30;1m' + b' ' * 20 + b'\x1b[0m 25.0%]   '
            b'Tasks: \x1b[36;1m42\x1b[0m, \x1b[32;1m1\x1b[0m running\r\n')
    out += (b'  Mem[\x1b[32m|||||\x1b[34m||\x1b[33m|||\x1b[30;1m' + b' ' * 16 + b'\x1b[0m 1.2G/3.8G]   '
            b'Load average: \x1b[1m0.42 \x1b[0m\x1b[36m0.30 \x1b[0m\r\n\r\n')
    out += b'\x1b[30;42m' + b'  PID USER      PRI  NI  VIRT   RES S CPU% MEM%   TIME+  Command'.ljust(COLS) + b'\x1b[0m'
    procs = [(1, 'root', 'S', '/sbin/init'), (212, 'daemon', 'S', 'cron -f'), (4301, 'user', 'R', 'viewer'),
             (4302, 'user', 'S', 'bash'), (4410, 'root', 'D', 'sync')]
    for n, (pid, user, state, command) in enumerate(procs):
        row = b'%5d %-9s  20   0 12345  1234 ' % (pid, user.encode())
        colour = b'\x1b[32m' if state == 'R' else b'\x1b[31;1m' if state == 'D' else b''
        if n == 2:
            out += b'\x1b[30;46m' + (row + state.encode() + b'  1.0  0.1  0:00.01 ' + command.encode()).ljust(COLS) + b'\x1b[0m'
        else:
            out += (b'\x1b[0m' + row + colour + state.encode() + b'\x1b[0m  0.0  0.1  0:01.00 '
                    + b'\x1b[36m' + command.encode() + b'\x1b[39m' + csi('K') + b'\r\n')
    out += csi('24;1H')
    for key, label in (('1', 'Help'), ('2', 'Setup'), ('3', 'Search'), ('9', 'Kill'), ('10', 'Quit')):
        out += b'\x1b[0mF' + key.encode() + b'\x1b[30;46m' + label.ljust(6).encode()
    return out + b'\x1b[39;49m'


def panels_stream(leave):
    """A file manager's blue panels drawn with line-drawing characters; leave: its exit after."""
    out = b'\x1b[0;37;44m' + csi('H') + csi('2J') + b'\x1b)0'
    out += csi('1;1H') + b'\x1b[36;44m\x0elqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqk\x0f'
    out += csi('1;3H') + b'\x1b[30;46m ~/work \x1b[36;44m'
    names = [(b'\x1b[37;1;44m', b'/..'), (b'\x1b[37;1;44m', b'/bin'), (b'\x1b[32;1;44m', b'*build.sh'),
             (b'\x1b[37;44m', b'notes.txt'), (b'\x1b[37;44m', b'readme')]
    for n, (colour, name) in enumerate(names, 2):
        out += csi('%d;1H' % n) + b'\x1b[36;44m\x0ex\x0f'
        if n == 4:
            out += b'\x1b[30;46m' + name.ljust(38)
        else:
            out += colour + name.ljust(38) + b'\x1b[0;37;44m'
        out += b'\x1b[36;44m\x0ex\x0f'
    out += csi('7;1H') + b'\x1b[36;44m\x0emqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqqj\x0f'
    out += csi('23;1H') + b'\x1b[0m' + csi('K') + b'user@host:~/work$ '
    out += csi('24;1H')
    for key, label in (('1', 'Help'), ('2', 'Menu'), ('3', 'View'), ('10', 'Quit')):
        out += b'\x1b[0m' + key.rjust(2).encode() + b'\x1b[30;46m' + label.ljust(6).encode()
    out += b'\x1b[0m'
    if leave:
        out += b'\x1b[0m' + csi('H') + csi('2J') + b'$ ls\r\n\x1b[01;34mbin\x1b[0m  notes.txt\r\n$ '
    return out


def palette_stream():
    """Every foreground on every background in ANSI order, with bold, reverse, 39 and 49."""
    out = b''
    for bg in range(40, 48):
        for fg in range(30, 38):
            out += csi('%d;%dm' % (fg, bg)) + b'X' + csi('1m') + b'B' + csi('22m')
        out += csi('7m') + b'R' + csi('27m') + csi('39m') + b'F' + csi('49m') + b'N' + csi('0m') + b'.\r\n'
    for fg in range(30, 38):
        out += csi('%dm' % fg) + b'%d' % fg + csi('1m') + b'b' + csi('7m') + b'r' + csi('0m') + b' '
    return out + b'\r\nend'


def erase_stream():
    """Erases, insertions, deletions and scrolling under a host background, then after 0 and 49."""
    out = csi('H') + csi('2J')
    for n in range(1, ROWS + 1):
        out += csi('%d;1H' % n) + b'\x1b[3%dmline %d text' % (n % 8, n)
    out += csi('0m')
    out += csi('3;1H') + csi('41m') + csi('K') + b'red line' + csi('0m')
    out += csi('4;5H') + csi('42m') + csi('3@') + csi('P') + csi('2X') + csi('49m')
    out += csi('5;1H') + csi('43m') + csi('2L') + csi('0m') + csi('8;1H') + csi('44m') + csi('M') + csi('m')
    out += csi('10;10H') + csi('45m') + csi('1K') + csi('49m') + csi('11;1H') + csi('K')
    out += csi('14;20H') + csi('46m') + csi('J') + csi('m') + csi('20;1H') + csi('J')
    out += csi('24;1H') + csi('44m') + b'\nblue\n\n' + csi('0m') + b'\nplain\n' + csi('31m') + b'\n' + csi('39m') + b'x'
    return out


STREAMS = [
    ('ls', ls_stream),
    ('sgr-resets', issue_line),
    ('editor', editor_stream),
    ('viewer', viewer_stream),
    ('panels', lambda: panels_stream(False)),
    ('panels-exit', lambda: panels_stream(True)),
    ('palette', palette_stream),
    ('erase', erase_stream),
]


def toggled(index):
    return index + 10 if index < 10 else index - 10


def reference_cells(text, normal_fg, normal_bg):
    """The reference's cells as (character, foreground, background) in our colour indices."""
    rows, _ = rows_of(text)
    colours = text.split('\n')[ROWS + 1:ROWS + 1 + ROWS]
    cells = []
    for r in range(ROWS):
        row = rows[r].ljust(COLS)
        for c in range(COLS):
            fg_digit, bg_digit, attributes = colours[r][3 * c:3 * c + 3]
            attributes = int(attributes, 16)

            def index(digit, normal):
                if digit == '-':
                    return normal
                if digit == '?':
                    return -1
                n = int(digit, 16)
                return ANSI_TO_PALETTE[n % 8] + (10 if n >= 8 else 0)

            fg, bg = index(fg_digit, normal_fg), index(bg_digit, normal_bg)
            if attributes & REVERSE:
                fg, bg = bg, fg
            if attributes & BOLD and fg >= 0:
                fg = toggled(fg)
            if attributes & INVISIBLE:
                fg = bg
            cells.append((row[c], fg, bg))
    return cells


def our_cells(text):
    lines = text.split('\n')
    fg_rows, bg_rows = lines[ROWS + 1:2 * ROWS + 1], lines[2 * ROWS + 1:3 * ROWS + 1]
    cells = []
    for r in range(ROWS):
        for c in range(COLS):
            ch = lines[r][c]
            cells.append((ch if ' ' <= ch < '\x7f' else '?', int(fg_rows[r][2 * c:2 * c + 2], 16),
                          int(bg_rows[r][2 * c:2 * c + 2], 16)))
    return cells


def seen(cell):
    """What a cell shows: a blank shows only its background."""
    ch, fg, bg = cell
    return (ch, None, bg) if ch == ' ' else cell


def main():
    termfeed, vterm, xterm_script, xterm_modules, outdir = sys.argv[1:6]
    if not os.path.exists(vterm):
        skip('the libvterm harness was not built (libvterm-dev missing)')
    if not shutil.which('node') or not os.path.isdir(os.path.join(xterm_modules, 'node_modules', '@xterm')):
        skip('@xterm/headless is not installed in ' + xterm_modules + ' (scripts/setup installs it)')
    os.makedirs(outdir, exist_ok=True)

    def run(command):
        return subprocess.run(command, capture_output=True, check=True).stdout.decode('latin1')

    def ours(path):
        return run([termfeed, '--host-colours', '--planes', path])

    empty = os.path.join(outdir, 'empty.bin')
    open(empty, 'wb').close()
    normal = our_cells(ours(empty))[0]
    report, failed = [], []
    for name, make in STREAMS:
        path = os.path.join(outdir, name + '.bin')
        with open(path, 'wb') as f:
            f.write(make())
        mine = our_cells(ours(path))
        lib = reference_cells(run([vterm, str(ROWS), str(COLS), path, '--cells']), normal[1], normal[2])
        xjs = reference_cells(run(['node', xterm_script, xterm_modules, str(ROWS), str(COLS), path, '--cells']),
                              normal[1], normal[2])
        differ, disagree = [], 0
        for i in range(ROWS * COLS):
            a, b, m = seen(lib[i]), seen(xjs[i]), seen(mine[i])
            if a != b:
                disagree += 1
            elif m != a:
                differ.append('  row %2d col %2d ours %r, references %r' % (i // COLS, i % COLS, m, a))
        report.append('%s: %d cells differ, references disagree on %d' % (name, len(differ), disagree))
        report.extend(differ[:20])
        if differ:
            failed.append(name)
    with open(os.path.join(outdir, 'report.txt'), 'w') as f:
        f.write('\n'.join(report) + '\n')
    print('\n'.join(report))
    if failed:
        print('colour comparison: cells differ from both references in: ' + ' '.join(failed))
        return 1
    print('colour comparison: %d streams compared' % len(STREAMS))
    return 0


if __name__ == '__main__':
    sys.exit(main())
