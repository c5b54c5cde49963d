"""TolviFTP.exe against a server that misbehaves (tests/peers/hostile_ftp.py on loopback), driven
by command-line scripts as an unattended job is. One table of cases: each logs on as the
misbehaviour it wants, runs a few script commands, and ends by itself or, where the script stops
on the failure, by a posted Exit, which must be handled. Then the files in the local folder, the
log file and what the server saw are checked:

- a data connection from another address is refused, the client's listener takes no connection
  on another local address, and the file holds the server's bytes;
- a receive that fails (too much, too little, cut, no reply) leaves no file under its name, and a
  server cannot fill the disk;
- endless multi-line replies (greeting, PASS, after LIST) end the connection, each line logged
  once; "2300" is no code;
- a tab inside a listed name is kept, names Windows cannot create are skipped and the walk goes
  on, a 100,000-byte name is passed over, no control byte reaches the log raw;
- "(-1 bytes)" is no size, ASCII transfers are checked, a refused PORT fails the transfer;
- a control connection closed after 150 ends the wait at once, one closed after the data is not
  an abort by the user;
- a failed log-on is logged without a box, the script ends and Exit is handled;
- a listing of 100,000 entries fills the list and the walk fetches the one file that matches.

Arguments: the folder of TolviFTP.exe and the project root."""
import os
import re
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'e2e'))
from e2e import Fail, wait_until, xdotool_out  # noqa: E402
from scripts_test import ScriptSession  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'peers'))
import hostile_ftp  # noqa: E402

EXIT = 57665
GOOD, ZZ, DATA = hostile_ftp.FILES['good.txt'], hostile_ftp.FILES['zz.txt'], hostile_ftp.FILES['data.bin']
FAILED_RECV = r'Error \d+ On Recv: '

# name, user (the misbehaviour), script commands after connect, timeout (s),
# local files expected ({name: bytes, or None for none}), log patterns that must / must not
# appear, server events that must / must not appear, longest run (s) or None.
CASES = [
    ('a stranger connects first', 'intruder', ['get good.txt', 'get *.txt'], 20,
     {'good.txt': GOOD, 'text.txt': hostile_ftp.FILES['text.txt']}, [r'Data connection from 127\.0\.0\.2 port \d+ refused'], [r'INJECTED'],
     [r'STRANGER 127\.0\.0\.2->127\.0\.0\.1 connected', r'STRANGER 127\.0\.0\.3->127\.0\.0\.3 refused'],
     [r'127\.0\.0\.3 connected'], None),
    ('names a listing can hold', 'names', ['get *'], 20,
     {'good.txt': GOOD, 'zz.txt': ZZ, 'tab': None},
     [r'Not a local file name: tab\^Ix\.txt', r'Not a local file name: pipe\|x\.txt',
      r'Not a local file name: star\*x\.txt', r'Not a local file name: \.\.\.\s*$',
      r'Not a local file name: esc\^\[\[31mred\^\[\[0m\.txt', r'Receiving zz\.txt'],
     [r'\x1b', r'Host refused'], [r"RETR 'zz\.txt'"], [r"RETR 'tab'", r"RETR 'tab\\t", r'RETR .pipe'], None),
    ('more than announced, image', 'oversize', ['type=i', 'get data.bin'], 20, {'data.bin': None},
     [r'Transfer stopped: the server sent more than the 10 bytes it announced', FAILED_RECV], [], [], [], None),
    ('more than announced, ASCII', 'oversize', ['type=a', 'get text.txt'], 20, {'text.txt': None},
     [r'Transfer stopped: the server sent more than the 10 bytes it announced'], [], [], [], None),
    ('less than announced, ASCII', 'short', ['type=a', 'get text.txt'], 20, {'text.txt': None},
     [r'Transfer incomplete: 500 of 1000 bytes', r'Delete partially downloaded file'], [], [], [], None),
    ('cut in the middle', 'cut', ['get data.bin'], 20, {'data.bin': None},
     [FAILED_RECV], [r'Transfer Complete'], [], [], None),
    ('"(-1 bytes)" is no size', 'minus', ['type=i', 'get data.bin', 'get good.txt'], 20,
     {'data.bin': DATA, 'good.txt': GOOD}, [r'Transfer Complete \(10240 bytes\)'], [r'Transfer incomplete'],
     [], [], None),
    ('refused PORT', 'refuse-port', ['get good.txt'], 20, {'good.txt': None},
     [r'The server refused the data port: 500 PORT not understood', FAILED_RECV], [], [], [r'RETR'], None),
    ('control closed after 150', 'close-after-150', ['get good.txt'], 60, {'good.txt': None},
     [FAILED_RECV + 'host does not send an answer'], [r'timed out'], [], [], 30),
    ('control closed after the data', 'close-after-data', ['get good.txt'], 20, {'good.txt': None},
     [FAILED_RECV + 'host does not send an answer'], [r'aborted by user'], [r'SENT 220'], [], None),
    ('endless reply after LIST', 'flood-list', ['get *.txt'], 20, {'good.txt': None},
     [r'reply goes on without end \(more than 1000 lines\)'], [r'-line 1001 '], [], [], None),
    ('endless PASS reply, a line at a time', 'drip-pass', [], 3, {},
     [r'reply goes on without end \(more than 3 seconds\)', r'Login Failed'], [], [], [], 30),
    ('"2300" is no code', 'code4', ['get good.txt'], 20, {'good.txt': None},
     [r'Ftp: 2300 logged in', r'Login Failed: Login incorrect\.', r'Error \d+ On Login'], [], [], [r'RETR'], None),
    ('log-on refused, unattended', 'refuse', ['get good.txt'], 20, {'good.txt': None},
     [r'Login Failed: Login incorrect\.', r'Error \d+ On Login'], [], [], [r'RETR'], None),
    ('endless greeting', 'flood', [], 20, {},
     [r'reply goes on without end \(more than 1000 lines\)', r'Error \d+ On Login'], [], [], [], None),
    ('a listing of 100,000 entries', 'huge-list', ['get zz*'], 20, {'zz.txt': ZZ},
     [r'Receiving zz\.txt'], [], [r"RETR 'zz\.txt'"], [r"RETR 'file"], None),
]


def run_case(s, ports, case, index):
    name, user, commands, timeout, files, want, unwanted, events, no_events, longest = case
    port = ports[1] if user == 'flood' else ports[0]
    folder = 'work/c%d' % index
    os.mkdir(s.path(folder))
    log = s.windows_path('work\\c%d.log' % index)
    with open(s.path('events'), 'w'):
        pass
    s.write('work/c%d.ftp' % index, '\r\n'.join(
        ['verbose=on', 'logfile="%s"' % log, 'autoname=on', 'timeout=%d' % timeout,
         'host=127.0.0.1:%d' % port, 'user=%s' % user, 'password=x', 'connect',
         'lcd "%s"' % s.windows_path(folder.replace('/', '\\'))] + commands + ['close', 'exit', '']))
    started = time.monotonic()
    s.run_client('c%d.ftp' % index)
    # The script ends the program, or stops on the failure; then a posted Exit ends it.
    text = lambda: s.log_text('work/c%d.log' % index)  # noqa: E731
    try:
        wait_until(lambda: s.client.poll() is not None or all(re.search(p, text(), re.M) for p in want),
                   'the log lines', timeout=120)
    except Fail:
        raise Fail('%s: the log lacks some of %r:\n%s' % (name, want, text()))
    took = time.monotonic() - started
    if xdotool_out('search', '--onlyvisible', '--name', '^Login Failed$'):
        raise Fail('%s: a "Login Failed" box waits for a person' % name)
    if s.client.poll() is None:
        time.sleep(1)  # the script's last line runs
        s.command(EXIT)
    s.wait_end(name, timeout=60)
    log_text = text()
    seen = s.read('events').decode('latin-1')
    for where, content, patterns, wanted in (('the log', log_text, want, True), ('the log', log_text, unwanted, False),
                                             ('the server', seen, events, True),
                                             ('the server', seen, no_events, False)):
        for pattern in patterns:
            if bool(re.search(pattern, content, re.M)) != wanted:
                raise Fail('%s: %s %s %r:\n%s' % (name, where, 'lacks' if wanted else 'holds', pattern, content))
    present = sorted(os.listdir(s.path(folder)))
    for local, data in files.items():
        if data is None and local in present:
            raise Fail('%s: %s was left in the local folder (%r)' % (name, local, present))
        if data is not None and s.read(folder + '/' + local) != data:
            raise Fail('%s: %s differs or is missing (%r)' % (name, local, present))
    unexpected = [n for n in present if n not in files or files[n] is None]
    if unexpected:
        raise Fail('%s: unexpected local files %r' % (name, unexpected))
    lines = [line for line in log_text.splitlines() if '-line ' in line]
    if len(lines) != len(set(lines)):
        raise Fail('%s: reply lines were logged twice' % name)
    if longest is not None and took > longest:
        raise Fail('%s: took %.0f s' % (name, took))
    print('%s: as expected (%.1f s)' % (name, took))


def main():
    bin_dir, root = sys.argv[1], sys.argv[2]
    s = ScriptSession(bin_dir, root)
    try:
        for d in ('work', 'tmp'):
            os.mkdir(s.path(d))
        s.settings()
        s.start([sys.executable, os.path.join(root, 'tests', 'peers', 'hostile_ftp.py'), s.path('ports'),
                 s.path('events')], log='server.log')
        ports = [int(p) for p in wait_until(lambda: s.read('ports').split(), 'the server', timeout=20)]
        only = os.environ.get('TOLVI_HOSTILE_CASE')
        for index, case in enumerate(CASES):
            if only and only not in case[0]:
                continue
            run_case(s, ports, case, index)
    finally:
        s.stop()


if __name__ == '__main__':
    main()
