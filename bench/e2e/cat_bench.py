#!/usr/bin/env python3
"""End-to-end speed of the terminal: `cat` of a 20 MB text file on a telnetd host, timed on the
host, into Tolvi.exe under wine64 and, on the same host, file and display, into xterm running
`telnet 127.0.0.1 PORT`. Prints the host-side seconds of the cat for both and the ratio.

    cat_bench.py TOLVI_BIN_DIR PROJECT_ROOT [ROUNDS]

Needs the display and the Wine prefix of scripts/wine-start (scripts/bench starts them). Each
round starts a telnetd of its own for each terminal; the best round of each is printed.
"""
import os
import random
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(sys.argv[2], 'tests', 'win32', 'e2e'))
import e2e  # noqa: E402

FILE_BYTES = 20 * 1000 * 1000
# Seconds between the log-in and the cat: the terminal's window is up and idle by then.
SETTLE = 4
CAT_TIMEOUT = 900

LOGIN = '''#!/bin/bash
stty -echo
printf 'cat in %d seconds\\n'
sleep %d
start=$(date +%%s.%%N)
cat '%s'
end=$(date +%%s.%%N)
echo "$start $end" > '%s.tmp' && mv '%s.tmp' '%s'
printf '\\ncat done\\n'
sleep 600
'''

CONFIG = '''[Tolvi]
Version=4.5.6.3
AutonameFiles=No
PromptForHost=No
'''


def write_text_file(path):
    """Seeded text: lines of 20 to 79 printable characters, as a listing or a log gives."""
    rng = random.Random(20)
    words = [''.join(chr(rng.randint(33, 126)) for _ in range(rng.randint(1, 12))) for _ in range(4096)]
    out = []
    size = 0
    while size < FILE_BYTES:
        line = []
        length = 0
        goal = rng.randint(20, 79)
        while length < goal:
            word = words[rng.randrange(len(words))]
            line.append(word)
            length += len(word) + 1
        text = ' '.join(line)[:79] + '\n'
        out.append(text)
        size += len(text)
    with open(path, 'w') as f:
        f.write(''.join(out)[:FILE_BYTES])


def cat_seconds(session, times_file):
    """Waits for the log-in script's times and returns the seconds of the cat."""
    text = e2e.wait_until(lambda: session.read(times_file), 'the end of the cat', timeout=CAT_TIMEOUT, every=0.5)
    start, end = (float(v) for v in text.split())
    return end - start


def host(session, data, times_file):
    return session.telnetd(LOGIN % (SETTLE, SETTLE, data, session.path(times_file), session.path(times_file),
                                    session.path(times_file)))


def run_tolvi(session, data):
    port = host(session, data, 'tolvi.times')
    session.write(e2e.CONFIG_NAME, CONFIG.replace('\n', '\r\n'))
    e2e.forget_window_placement(session.root)
    process = session.start([session.wine_run, 'Tolvi.exe', session.windows_path(e2e.CONFIG_NAME), '/ip:127.0.0.1',
                             '/tport:%d' % port, '/c'], cwd=session.bin, log='tolvi.log')
    seconds = cat_seconds(session, 'tolvi.times')
    session.screenshot('cat_bench_tolvi')
    return seconds, process


def run_xterm(session, data):
    port = host(session, data, 'xterm.times')
    process = session.start(['xterm', '-geometry', '80x24', '-e', 'telnet', '127.0.0.1', str(port)], log='xterm.log')
    seconds = cat_seconds(session, 'xterm.times')
    return seconds, process


def main():
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 2
    best = {'tolvi': None, 'xterm': None}
    data_dir = None
    for _ in range(rounds):
        for name, runner in (('tolvi', run_tolvi), ('xterm', run_xterm)):
            session = e2e.Session(sys.argv[1], sys.argv[2])
            try:
                data = session.path('cat.txt')
                write_text_file(data)
                seconds, _ = runner(session, data)
                best[name] = seconds if best[name] is None else min(best[name], seconds)
                print('  %-6s %.2f s' % (name, seconds))
                sys.stdout.flush()
            except e2e.Fail as failure:
                print('  %-6s failed: %s' % (name, failure))
            finally:
                session.stop()
                time.sleep(1)
    print('End-to-end: cat of a %d MB text file over Telnet on one Xvfb, host-side seconds (best of %d)' %
          (FILE_BYTES // 1000000, rounds))
    tolvi, xterm = best['tolvi'], best['xterm']
    print('%-34s %s' % ('Tolvi.exe (wine64)', '%.2f s' % tolvi if tolvi else 'n/a'))
    print('%-34s %s' % ('xterm + telnet 127.0.0.1 PORT', '%.2f s' % xterm if xterm else 'n/a'))
    if tolvi and xterm:
        print('%-34s %.2fx (above 1: Tolvi.exe is faster)' % ('xterm time / Tolvi.exe time', xterm / tolvi))
    return 0 if tolvi and xterm else 1


if __name__ == '__main__':
    sys.exit(main())
