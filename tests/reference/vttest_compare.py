#!/usr/bin/env python3
"""Compares our screens with two reference terminals on the screens of vttest.

vttest runs in a pty (TERM=vt100, then vt220) and gets its terminal-ID query answered; the
cumulative byte stream it has written when each of its screens waits for RETURN is a case. Every
case is fed to termfeed, to libvterm (vterm_screen) and to the headless xterm.js
(xterm_screen.js). Where both references agree and our screen differs, the case must be listed
in mandated.txt (a difference the terminal's own design asks for); any other such case fails.
The short streams of EDGES (edge_streams.txt) are compared the same way, for vt100 and vt220,
with the cursor as well as the screen.

    vttest_compare.py TERMFEED VTERM_SCREEN XTERM_SCRIPT XTERM_MODULES OUTDIR MANDATED [EDGES]

Exit 0 on success, 1 on unlisted differences, 77 (skip) when vttest or a reference is missing.
"""
import os
import pty
import select
import shutil
import subprocess
import sys
import time

TESTS = {1: 'cursor movements', 2: 'screen features', 3: 'character sets', 4: 'double-sized characters'}
DEVICE_ATTRIBUTES = {'vt100': b'\x1b[?1;2c', 'vt220': b'\x1b[?62;1;2;6;7;8;9c'}
EMULATION = {'vt100': '1', 'vt220': '2'}


def skip(why):
    print('vttest comparison skipped: ' + why)
    sys.exit(77)


def capture(term, test):
    """The cumulative streams of vttest's screens for one test of the main menu."""
    pid, fd = pty.fork()
    if pid == 0:
        os.environ['TERM'] = term
        os.execvp('vttest', ['vttest', '24x80.80'])
    stream = bytearray()
    screens = []

    def pump(quiet=0.4, limit=5.0):
        chunk = bytearray()
        end = time.time() + quiet
        stop = time.time() + limit
        while time.time() < min(end, stop):
            ready, _, _ = select.select([fd], [], [], 0.05)
            if not ready:
                continue
            try:
                data = os.read(fd, 65536)
            except OSError:
                break
            if not data:
                break
            chunk += data
            end = time.time() + quiet
            if b'\x1b[c' in data or b'\x1b[0c' in data:
                os.write(fd, DEVICE_ATTRIBUTES[term])
        stream.extend(chunk)
        return bytes(chunk)

    try:
        pump(1.0)
        os.write(fd, b'%d\r' % test)
        submenu_choice = 0
        for _ in range(40):
            chunk = pump()
            if b'Choose test type' in chunk or not chunk:
                break
            screens.append(bytes(stream))
            if b'Enter choice number' in chunk or b'choice' in chunk.lower():
                submenu_choice += 1
                # Every entry of a submenu once, then leave it.
                os.write(fd, b'%d\r' % submenu_choice if submenu_choice <= 3 else b'0\r')
            else:
                os.write(fd, b'\r')
    finally:
        try:
            os.kill(pid, 9)
            os.waitpid(pid, 0)
        except OSError:
            pass
        os.close(fd)
    return screens


def rows_of(text):
    lines = text.split('\n')
    cursor = next((l for l in lines if l.startswith('cursor ')), 'cursor ? ?')
    return [l.rstrip() for l in lines[:24]], cursor


def edge_streams(path):
    """(name, bytes) of every stream of the edge file; escapes as in the golden files."""
    streams = []
    with open(path) as f:
        for line in f:
            if not line.strip() or line.startswith('#'):
                continue
            name, _, text = line.strip().partition(' ')
            data = bytearray()
            i = 0
            text = text.strip()
            while i < len(text):
                if text[i] == '\\' and i + 1 < len(text):
                    c = text[i + 1]
                    if c == 'x':
                        data.append(int(text[i + 2:i + 4], 16))
                        i += 4
                        continue
                    data += {'e': b'\x1b', 'r': b'\r', 'n': b'\n', 't': b'\t', 's': b' ', '\\': b'\\'}[c]
                    i += 2
                else:
                    data += text[i].encode('latin1')
                    i += 1
            streams.append((name, bytes(data)))
    return streams


def cursor_of(text, cols=80):
    """'cursor R C' with the column of a pending wrap (xterm.js reports it one past the edge) kept on the screen."""
    parts = text.split()
    if len(parts) != 3 or not parts[2].isdigit():
        return text
    return 'cursor %s %d' % (parts[1], min(int(parts[2]), cols - 1))


def ours(termfeed, path, term):
    out = subprocess.run([termfeed, '--emulation', EMULATION[term], '--planes', path],
                         capture_output=True, check=True).stdout.decode('latin1')
    lines = out.split('\n')
    chars, cursor = lines[:24], lines[24]
    flags = lines[25 + 48:25 + 72]
    rows = []
    for r, row in enumerate(chars):
        first = int(flags[r][0:2], 16) if flags[r] else 0
        if first & 0x70:  # a double-size line: one character per two cells
            row = row[0::2]
        rows.append(''.join(c if ' ' <= c < '\x7f' else '?' for c in row).rstrip())
    return rows, cursor


def main():
    termfeed, vterm, xterm_script, xterm_modules, outdir, mandated_file = sys.argv[1:7]
    edges_file = sys.argv[7] if len(sys.argv) > 7 else None
    if not shutil.which('vttest'):
        skip('vttest is not installed (scripts/setup installs it)')
    if not os.path.exists(vterm):
        skip('the libvterm harness was not built (libvterm-dev missing)')
    if not shutil.which('node') or not os.path.isdir(os.path.join(xterm_modules, 'node_modules', '@xterm')):
        skip('@xterm/headless is not installed in ' + xterm_modules + ' (scripts/setup installs it)')
    mandated = {}
    with open(mandated_file) as f:
        for line in f:
            if line.strip() and not line.startswith('#'):
                key, _, why = line.strip().partition(' ')
                mandated[key] = why.strip()

    os.makedirs(outdir, exist_ok=True)
    report = []
    unlisted = []
    compared = 0

    def compare(key, what, stream, term, with_cursor):
        nonlocal compared
        path = os.path.join(outdir, key.replace('/', '-') + '.bin')
        with open(path, 'wb') as f:
            f.write(stream)
        mine, my_cursor = ours(termfeed, path, term)
        lib, lib_cursor = rows_of(subprocess.run([vterm, '24', '80', path], capture_output=True,
                                                 check=True).stdout.decode('latin1'))
        xjs, xjs_cursor = rows_of(subprocess.run(['node', xterm_script, xterm_modules, '24', '80', path],
                                                 capture_output=True, check=True).stdout.decode('latin1'))
        if with_cursor:
            mine, lib, xjs = (mine + [cursor_of(my_cursor)], lib + [cursor_of(lib_cursor)],
                              xjs + [cursor_of(xjs_cursor)])
        compared += 1
        agree = lib == xjs
        differs = agree and mine != lib
        status = 'same' if mine == lib and mine == xjs else (
            'DIFFERS' if differs else 'references disagree')
        if differs and key not in mandated:
            unlisted.append(key)
            status += ' (not listed)'
        elif differs:
            status += ' (mandated: %s)' % mandated[key]
        report.append('%s %s: %s' % (key, what, status))
        if differs:
            for r in range(len(mine)):
                if mine[r] != lib[r]:
                    report.append('  row %2d ours |%s|' % (r, mine[r]))
                    report.append('         refs |%s|' % lib[r])

    for term in ('vt100', 'vt220'):
        for test in TESTS:
            for n, stream in enumerate(capture(term, test), 1):
                compare('%s/%d.%d' % (term, test, n), TESTS[test], stream, term, False)
        if edges_file:
            for name, stream in edge_streams(edges_file):
                compare('%s/%s' % (term, name), 'edge stream', stream, term, True)
    with open(os.path.join(outdir, 'report.txt'), 'w') as f:
        f.write('\n'.join(report) + '\n')
    print('\n'.join(report))
    if compared == 0:
        print('vttest comparison: vttest produced no screens')
        return 1
    if unlisted:
        print('vttest comparison: %d screens differ from both references without a listed reason: %s'
              % (len(unlisted), ' '.join(unlisted)))
        return 1
    print('vttest comparison: %d screens compared' % compared)
    return 0


if __name__ == '__main__':
    sys.exit(main())
