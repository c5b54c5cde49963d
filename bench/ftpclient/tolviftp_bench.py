#!/usr/bin/env python3
"""TolviFTP.exe under wine64 against curl, both on loopback against vsftpd and pyftpdlib (active
data connections for both clients):

- get and put of a 200 MB file by script: TolviFTP.exe started with a .ftp script that connects,
  moves the file and exits, timed from start to end (the program's start-up included), against
  curl doing the same;
- get and put of the same file through the window: the client, connected by a script that leaves
  it running, is driven like a person would (select, Receive or Send, Yes), timed from the file's
  first byte to its last; meanwhile ftp_lists.exe keeps asking the window for an answer and the
  longest wait is shown;
- Abort in the middle of a receive: how long the window takes to take it, until the partial file
  last grew (the transfer stopped) and until it is gone (the receive's end; deleting a file of
  several hundred MB takes the file system a good part of that);
- peak memory (resident) of TolviFTP.exe and of curl for a get of 200 MB by script, and of a
  TolviFTP.exe script that only connects: the difference is what the transfer holds;
- opening a remote folder of 3,000 (and one of 100,000) entries and a local folder of 3,000 files,
  timed from Enter until the list holds them.

Best of ROUNDS runs each. Prints a table: seconds for TolviFTP, for curl and curl / TolviFTP (1.0
is as fast as curl). Run by scripts/bench under with_ftp_servers, with the display and the Wine
prefix of scripts/wine-start.

    tolviftp_bench.py TOLVIFTP_BIN_DIR PROJECT_ROOT [ROUNDS]

TOLVI_BENCH_NO_HUGE_LIST=1 leaves out the folder of 100,000 entries.
"""
import os
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.join(sys.argv[2], 'tests', 'win32', 'e2e'))
sys.path.insert(0, os.path.join(sys.argv[2], 'tests', 'win32', 'tolviftp'))
from e2e import Fail, wait_until  # noqa: E402
from sites_test import IDYES, LOCAL_SEND, REMOTE_RECEIVE, SitesSession  # noqa: E402
from scripts_test import ABORT  # noqa: E402
from window_test import names  # noqa: E402

SIZE = 200 * 1024 * 1024
BIG = 'big.bin'
LIST_ENTRIES = 3000
HUGE_LIST = 100000


class Bench(SitesSession):
    def lists_out(self, *args, timeout=900):
        done = subprocess.run([self.wine_run, os.path.join(self.bin, 'ftp_lists.exe')] + [str(a) for a in args],
                              capture_output=True, timeout=timeout)
        if done.returncode != 0:
            raise Fail('ftp_lists %r: status %d %s' % (args, done.returncode, done.stderr.decode(errors='replace')))
        return done.stdout.decode().split()

    def run_script(self, lines, peaks=None):
        """TolviFTP.exe with a script file of `lines`: seconds from start to end (its peak
        resident memory in KB appended to `peaks`)."""
        self.write('work/job.ftp', '\r\n'.join(lines + ['']))
        # The Wine loader itself, as a user starts the program (the test wrapper adds its own time);
        # it stays the same process through Wine's start-up.
        loader = os.environ.get('TOLVI_WINE64_LOADER', '/usr/lib/wine/wine64')
        seconds, status, peak = timed_run([loader, os.path.join(self.bin, 'TolviFTP.exe'), 'job.ftp'], cwd=self.path('work'))
        if status != 0:
            raise Fail('TolviFTP.exe ended with status %d' % status)
        if peaks is not None:
            peaks.append(peak)
        return seconds


def peak_kb(pid):
    """The process's resident high-water mark so far (KB), 0 once it is gone."""
    try:
        with open('/proc/%d/status' % pid) as f:
            for line in f:
                if line.startswith('VmHWM:'):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def timed_run(argv, cwd=None, timeout=300):
    """Runs argv: (seconds from start to end, exit status, peak resident KB as last seen)."""
    start = time.monotonic()
    child = subprocess.Popen(argv, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    peak = 0
    while child.poll() is None:
        peak = max(peak, peak_kb(child.pid))
        if time.monotonic() - start > timeout:
            child.kill()
            child.wait()
            raise Fail('%s took over %d s' % (argv[0], timeout))
        time.sleep(0.002)
    return time.monotonic() - start, child.returncode, peak


def make_big(path):
    block = bytes((i * 7 + (i >> 8)) & 255 for i in range(1 << 20))
    with open(path, 'wb') as f:
        for _ in range(SIZE >> 20):
            f.write(block)


def remove(path):
    try:
        os.remove(path)
    except OSError:
        pass


def size_of(path):
    try:
        return os.path.getsize(path)
    except OSError:
        return -1


def timed_growth(path, action, timeout=900):
    """Runs action() and times `path` from its first appearance to its full size (polled at
    1 ms): the transfer itself, without the tool that pressed the button."""
    stamps = {}

    def watch():
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            n = size_of(path)
            now = time.monotonic()
            if n >= 0 and 'first' not in stamps:
                stamps['first'] = now
            if n >= SIZE:
                stamps['last'] = now
                return
            time.sleep(0.001)
    watcher = threading.Thread(target=watch)
    watcher.start()
    action()
    watcher.join()
    if 'last' not in stamps:
        raise Fail('%s never reached %d bytes (%d)' % (path, SIZE, size_of(path)))
    return stamps['last'] - stamps['first']


def best(runs):
    return min(runs)


def curl(server, user, password, *args, peaks=None):
    seconds, status, peak = timed_run(['curl', '-sS', '-P', '127.0.0.1', '-u', '%s:%s' % (user, password)] + list(args) +
                                      ['ftp://%s/' % server + ('up.bin' if '-T' in args else BIG)])
    if status != 0:
        raise Fail('curl ended with status %d' % status)
    if peaks is not None:
        peaks.append(peak)
    return seconds


def main():
    bin_dir, root = sys.argv[1], sys.argv[2]
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    servers = {
        'vsftpd': (os.environ['TOLVI_FTP_VSFTPD'], os.environ['TOLVI_FTP_VSFTPD_ROOT'], 'anonymous', 'me@example.org'),
        'pyftpdlib': (os.environ['TOLVI_FTP_SCRIPTED'], os.environ['TOLVI_FTP_SCRIPTED_ROOT'], 'tolvi', 'secret'),
    }
    s = Bench(bin_dir, root)
    rows = []
    memory = {}
    try:
        for d in ('work', 'work/local', 'work/up', 'tmp', 'work/local/l3000'):
            os.makedirs(s.path(d), exist_ok=True)
        with open(s.ini_path(), 'w', newline='') as f:
            f.write('[TolviFTP]\r\nTempDir=%s\r\n' % s.windows_path('tmp'))
        make_big(s.path('work/up/' + BIG))
        for _, server_root, _, _ in servers.values():
            os.link(s.path('work/up/' + BIG), os.path.join(server_root, BIG))
            os.makedirs(os.path.join(server_root, 'd3000'))
            for i in range(LIST_ENTRIES):
                open(os.path.join(server_root, 'd3000', 'file%05d.txt' % i), 'wb').close()
        huge = os.path.join(servers['vsftpd'][1], 'd100000')
        os.makedirs(huge)
        for i in range(HUGE_LIST):
            open(os.path.join(huge, 'entry%06d.dat' % i), 'wb').close()
        for i in range(LIST_ENTRIES):
            open(s.path('work/local/l3000/local%05d.txt' % i), 'wb').close()
        local = s.windows_path('work\\local')
        got = s.path('work/local/' + BIG)
        up = s.windows_path('work\\up\\' + BIG)

        # ---- by script, against curl
        for name, (server, server_root, user, password) in servers.items():
            login = ['autoname=on', 'host=%s' % server, 'user=%s' % user, 'password=%s' % password, 'type=i', 'connect',
                     'lcd "%s"' % local]
            sent = os.path.join(server_root, 'up.bin')
            for what, target, command, curl_args in (
                    ('get', got, 'get %s' % BIG, ('-o', got)),
                    ('put', sent, 'put "%s" up.bin' % up, ('-T', s.path('work/up/' + BIG)))):
                runs, curl_runs, peaks, curl_peaks = [], [], [], []
                for _ in range(rounds):
                    remove(target)
                    runs.append(s.run_script(login + [command, 'close', 'exit'], peaks))
                    if size_of(target) != SIZE:
                        raise Fail('script %s with %s: %d bytes' % (what, name, size_of(target)))
                for _ in range(rounds):
                    remove(target)
                    curl_runs.append(curl(server, user, password, *curl_args, peaks=curl_peaks))
                rows.append(('%s 200 MB by script, %s' % (what, name), best(runs), best(curl_runs)))
                memory['%s 200 MB by script, %s' % (what, name)] = (max(peaks), max(curl_peaks))
            connected = []
            for _ in range(rounds):
                s.run_script(login + ['close', 'exit'], connected)
            memory['connect and close by script, %s' % name] = (max(connected), None)
            remove(sent)
            print('\n'.join('%-44s %8.2f s  curl %6.2f s' % row for row in rows[-2:]), flush=True)

        # ---- through the window, against vsftpd
        server, server_root, user, password = servers['vsftpd']
        s.write('work/window.ftp', '\r\n'.join(['autoname=on', 'host=%s' % server, 'user=%s' % user, 'password=%s' % password,
                                                'type=i', 'connect', 'lcd "%s"' % local, '']))
        s.client = s.start([s.wine_run, os.path.join(s.bin, 'TolviFTP.exe'), 'window.ftp'], cwd=s.path('work'),
                           log='tolviftp.out')
        s.wait_state(lambda st: BIG in names(st['remote']) and st['dirbar0'].lower() == local.lower(),
                     'the window to connect and show both folders')
        pings = []

        def with_pings(action):
            """action() while ftp_lists.exe asks the window for an answer every 10 ms; the
            pinging starts first so that it covers the whole transfer."""
            answer = {}
            pinger = threading.Thread(target=lambda: answer.update(out=s.lists_out('ping', 4000)))
            pinger.start()
            time.sleep(1.5)
            action()
            pinger.join()
            pings.append(int(answer['out'][1]))

        runs = []
        for _ in range(rounds):
            remove(got)
            s.focus('remote')
            s.select('remote', BIG)
            s.command(REMOTE_RECEIVE)
            runs.append(timed_growth(got, lambda: with_pings(lambda: s.answer('TolviFTP', IDYES))))
        theirs = best([curl(server, user, password, '-o', got) for _ in range(rounds)])
        rows.append(('get 200 MB through the window, vsftpd', best(runs), theirs))
        sent = os.path.join(server_root, 'up.bin')
        remove(got)
        os.link(s.path('work/up/' + BIG), s.path('work/local/up.bin'))
        s.focus('local')
        s.key('F5')
        s.wait_state(lambda st: 'up.bin' in names(st['local']), 'up.bin in the local list')
        runs = []
        for _ in range(rounds):
            remove(sent)
            s.focus('local')
            s.select('local', 'up.bin')
            s.command(LOCAL_SEND)
            runs.append(timed_growth(sent, lambda: with_pings(lambda: s.answer('TolviFTP', IDYES))))
        curl_runs = []
        for _ in range(rounds):
            remove(sent)
            curl_runs.append(curl(server, user, password, '-T', s.path('work/up/' + BIG)))
        remove(sent)
        rows.append(('put 200 MB through the window, vsftpd', best(runs), best(curl_runs)))
        print('\n'.join('%-44s %8.2f s  curl %6.2f s' % row for row in rows[-2:]), flush=True)

        # ---- Abort in the middle of a long receive (a sparse file of 8 GB)
        with open(os.path.join(server_root, 'huge.bin'), 'wb') as f:
            f.truncate(8 << 30)
        s.key('F5')
        s.focus('remote')
        s.key('F5')
        s.wait_state(lambda st: 'huge.bin' in names(st['remote']), 'huge.bin in the remote list')
        s.select('remote', 'huge.bin')
        s.command(REMOTE_RECEIVE)
        s.answer('TolviFTP', IDYES)
        partial = s.path('work/local/huge.bin')
        wait_until(lambda: size_of(partial) > (200 << 20), 'the long receive to run', every=0.01)
        taken, stopped, ended = (int(n) for n in s.lists_out('send', ABORT, s.windows_path('work\\local\\huge.bin')))
        abort_rows = [('Abort during a receive: taken after (ms)', taken),
                      ('Abort during a receive: file last grew after (ms)', stopped),
                      ('Abort during a receive: partial file gone after (ms)', ended)]
        print('\n'.join('%-52s %6d' % row for row in abort_rows), flush=True)

        # ---- the lists
        def opened(side, entry, count):
            return int(s.lists_out('open', side, entry, count)[0]) / 1000.0
        st = s.state()
        drives = sum(1 for e in st['local'] if e.startswith('<'))
        runs = []
        for _ in range(rounds):
            runs.append(opened('remote', '[d3000]', LIST_ENTRIES + 1))
            opened('remote', '[..]', 2)
        rows.append(('open a remote folder of 3,000 entries', best(runs), None))
        runs = []
        for _ in range(rounds):
            runs.append(opened('local', '[l3000]', drives + 1 + LIST_ENTRIES))
            opened('local', '[..]', drives + 2)
        rows.append(('open a local folder of 3,000 files', best(runs), None))
        if not os.environ.get('TOLVI_BENCH_NO_HUGE_LIST'):
            rows.append(('open a remote folder of 100,000 entries', opened('remote', '[d100000]', HUGE_LIST + 1),
                         None))
            opened('remote', '[..]', 2)
        print('\n'.join('%-44s %8.2f s' % row[:2] for row in rows[-3:]), flush=True)
        s.exit_client()
    finally:
        s.stop()

    print('\nTolviFTP.exe under wine64 against curl, best of %d (seconds; ratio = curl / ours)' % rounds)
    print('%-44s %8s %8s %7s' % ('', 'TolviFTP', 'curl', 'ratio'))
    for what, ours, theirs in rows:
        if theirs is None:
            print('%-44s %8.2f %8s %7s' % (what, ours, '', ''))
        else:
            print('%-44s %8.2f %8.2f %7.2f' % (what, ours, theirs, theirs / ours))
    print('longest wait for an answer of the window during the window transfers: %d ms' % max(pings))
    for row in abort_rows:
        print('%-52s %6d' % row)
    print('peak resident memory (MB)                    TolviFTP     curl')
    for what, (ours, theirs) in memory.items():
        print('%-44s %8.1f %8s' % (what, ours / 1024.0, '' if theirs is None else '%.1f' % (theirs / 1024.0)))


if __name__ == '__main__':
    main()
