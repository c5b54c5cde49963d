"""TolviFTP's scripts end to end (run by with_ftp_servers: vsftpd and the scripted pyftpdlib
server on loopback). TolviFTP.exe is started with a script file, with a one-line command line and
with a script path holding blanks, and ends by itself; every file is compared byte for byte and
the script's log file is read. Then: `call` into a second script and back, `run`, a missing called
script; `wait` with the title counting down and a second Run that stops it; the masked password
prompt of password=[]; Abort during a script's large transfer and during a `loop`; Check in the
script editor (dialog 106) of a script that calls another, with nothing connecting to the host;
`limited` greying the settings and Help and turning Scripts into a file dialog; "Encrypt
passwords" saving a scrambled password that then logs on.

Dialogs are driven by control id with dlgdrive.exe, menu commands posted and menu states read with
ftp_lists.exe. Arguments: the folder of TolviFTP.exe and the project root."""
import os
import random
import re
import socket
import subprocess
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'e2e'))
import e2e  # noqa: E402
from e2e import Fail, wait_until, xdotool_out  # noqa: E402
from sites_test import SitesSession  # noqa: E402

SCRIPTS, ABORT, EXIT = 32772, 32773, 57665
SITE_SETTINGS, GENERAL_SETTINGS, HELP = 32789, 32790, 57670
TEXT, NEW, OPEN, SAVE, CHECK, RUN, SAVE_AS, ENCRYPT = 109, 110, 111, 112, 113, 114, 115, 116
KEYIN_VALUE = 110
FILE_NAME = 1148  # the file name box of the common open dialog


class ScriptSession(SitesSession):
    def run_client(self, *args):
        """Starts TolviFTP.exe in work/ with the command line `args`."""
        self.client = self.start([self.wine_run, os.path.join(self.bin, 'TolviFTP.exe')] + list(args),
                                 cwd=self.path('work'), log='tolviftp.out')
        return self.client

    def wait_window(self):
        wait_until(lambda: xdotool_out('search', '--onlyvisible', '--name', r'Tolvi - FTP Client$'),
                   "TolviFTP's window")
        wait_until(self.state, 'the lists to be read')

    def wait_end(self, what, timeout=120):
        try:
            self.client.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            shot = self.screenshot('scripts_failure')
            raise Fail('%s: TolviFTP did not end by itself (screenshot %s); log:\n%s' %
                       (what, shot, self.log_text()))
        self.processes.remove(self.client)

    def exit_client(self):
        self.command(EXIT)
        self.wait_end('Exit')

    def log_text(self, name='work/script.log'):
        return self.read(name).decode('latin-1')

    def wait_log(self, pattern, what, after=0, name='work/script.log', timeout=60):
        try:
            return wait_until(lambda: re.search(pattern, self.log_text(name)[after:]), what, timeout=timeout)
        except Fail:
            raise Fail('%s; log:\n%s' % (what, self.log_text(name)[after:]))

    def title(self):
        result = subprocess.run([self.wine_run, os.path.join(self.bin, 'ftp_lists.exe')], capture_output=True)
        for line in result.stdout.decode('utf-8', 'replace').splitlines():
            if line.startswith('title: '):
                return line[7:].strip()
        return ''

    def menu(self, *ids):
        out = subprocess.run([self.wine_run, os.path.join(self.bin, 'ftp_lists.exe'), 'menu'] + [str(i) for i in ids],
                             capture_output=True).stdout.decode().split()
        return dict(zip(ids, out))


class Listener:
    """A TCP listener that counts the connections made to it (a host nothing may reach)."""

    def __init__(self):
        self.sock = socket.socket()
        self.sock.bind(('127.0.0.1', 0))
        self.sock.listen(5)
        self.sock.settimeout(0.2)
        self.port = self.sock.getsockname()[1]
        self.accepted = 0
        self.done = False
        self.thread = threading.Thread(target=self.serve, daemon=True)
        self.thread.start()

    def serve(self):
        while not self.done:
            try:
                conn, _ = self.sock.accept()
                self.accepted += 1
                conn.close()
            except OSError:
                pass

    def close(self):
        self.done = True
        self.thread.join()
        self.sock.close()


def same(path, data, what):
    with open(path, 'rb') as f:
        got = f.read()
    if got != data:
        raise Fail('%s differs: %d bytes, expected %d' % (what, len(got), len(data)))


def main():
    bin_dir, root = sys.argv[1], sys.argv[2]
    scripted, scripted_root = os.environ['TOLVI_FTP_SCRIPTED'], os.environ['TOLVI_FTP_SCRIPTED_ROOT']
    vsftpd, vsftpd_root = os.environ['TOLVI_FTP_VSFTPD'], os.environ['TOLVI_FTP_VSFTPD_ROOT']
    s = ScriptSession(bin_dir, root)
    rng = random.Random(36)
    try:
        for d in ('work', 'work/local', 'work/other', 'work/up', 'work/my scripts', 'tmp'):
            os.mkdir(s.path(d))
        with open(s.ini_path(), 'w', newline='') as f:
            f.write('[TolviFTP]\r\nTempDir=%s\r\n' % s.windows_path('tmp'))
        log = s.windows_path('work\\script.log')
        work = s.windows_path('work')

        # Files of the server and of the client.
        down = {'one.bin': bytes(rng.getrandbits(8) for _ in range(150000)), 'a.txt': b'alpha\n' * 50,
                'b.txt': bytes(range(256)) * 4, 'skip.bin': b'not wanted'}
        os.makedirs(os.path.join(scripted_root, 'pub', 'a', 'b'))
        for name, data in down.items():
            with open(os.path.join(scripted_root, 'pub', name), 'wb') as f:
                f.write(data)
        deep = b'deep file\r\n' * 30
        with open(os.path.join(scripted_root, 'pub', 'a', 'b', 'c.txt'), 'wb') as f:
            f.write(deep)
        up = {'up1.bin': bytes(rng.getrandbits(8) for _ in range(90000)), 'x1.dat': b'one', 'x2.dat': b'\x00' * 4000,
              'x3.other': b'left here'}
        for name, data in up.items():
            with open(s.path('work/up/' + name), 'wb') as f:
                f.write(data)

        # ---- TolviFTP.exe job.ftp: the program runs the script and ends by itself.
        s.write('work/job.ftp', '\r\n'.join([
            'verbose=on', 'logfile="%s"' % log, 'autoname=on', 'type=i',
            'host=%s' % scripted, 'user=tolvi', 'password=secret', 'connect',
            'cd pub', 'lcd "%s"' % s.windows_path('work\\local'),
            'get one.bin', 'get *.txt',
            'get a/b/c.txt "%s"' % s.windows_path('work\\other\\renamed.txt'),
            'cd /pub', 'mask *', 'select one.bin',
            'put "%s"' % s.windows_path('work\\up\\up1.bin'),
            'put "%s"' % s.windows_path('work\\up\\*.dat'),
            'close', 'exit', '']))
        s.run_client('job.ftp')
        s.wait_end('job.ftp')
        same(s.path('work/local/one.bin'), down['one.bin'], 'one.bin received')
        same(s.path('work/local/a.txt'), down['a.txt'], 'a.txt received by the wildcard')
        same(s.path('work/local/b.txt'), down['b.txt'], 'b.txt received by the wildcard')
        assert not os.path.exists(s.path('work/local/skip.bin')), 'the wildcard took skip.bin'
        same(s.path('work/other/renamed.txt'), deep, 'a/b/c.txt received under another name')
        for name in ('up1.bin', 'x1.dat', 'x2.dat'):
            same(os.path.join(scripted_root, 'pub', name), up[name], name + ' sent')
        assert not os.path.exists(os.path.join(scripted_root, 'pub', 'x3.other')), 'the wildcard sent x3.other'
        text = s.log_text()
        for pattern in (r'Connecting to: 127\.0\.0\.1:\d+', r'\.\.\. connection OK',
                        r'Receiving one\.bin -> one\.bin', r'Transfer Complete \(150000 bytes\)',
                        r'Receiving c\.txt -> .*renamed\.txt', r'Sending up1\.bin -> up1\.bin',
                        r'Sending x2\.dat -> x2\.dat', r'Close: 127\.0\.0\.1:\d+',
                        r'Info: done:  password \*\*\*\*', r'Info: Script closed: .*job\.ftp'):
            if not re.search(pattern, text):
                raise Fail('the log lacks %r:\n%s' % (pattern, text))
        assert 'secret' not in text, 'the password was written to the log'
        print('job.ftp: ran, ended by itself; 4 files received, 3 sent, all equal; log as expected')

        # ---- a one-line command line against vsftpd, and a script path with blanks.
        with open(os.path.join(vsftpd_root, 'anon.txt'), 'wb') as f:
            f.write(b'anonymous file\n' * 20)
        s.run_client('logfile=' + s.windows_path('work\\oneline.log'), 'autoname=on', 'host=' + vsftpd,
                     'user=anonymous', 'password=me@example.org', 'connect', 'get', 'anon.txt', 'close', 'exit')
        s.wait_end('the one-line command line')
        same(s.path('work/anon.txt'), b'anonymous file\n' * 20, 'anon.txt received from vsftpd')
        s.wait_log(r'Close: ', 'the close line of the one-line run', name='work/oneline.log')
        s.write('work/my scripts/with blanks.ftp', 'logfile="%s"\r\ncheckcasemask Blank.TXT *.txt\r\nexit\r\n' %
                s.windows_path('work\\blanks.log'))
        s.run_client(s.windows_path('work\\my scripts\\with blanks.ftp'))
        s.wait_end('the script path with blanks')
        s.wait_log(r'file: Blank\.TXT - mask: \*\.txt = TRUE', 'the script with blanks to run', name='work/blanks.log')
        print('one-line command line against vsftpd, script path with blanks: ran and ended')

        # ---- call and back, run, a missing called script.
        s.write('work/main.ftp', '\r\n'.join([
            'logfile="%s"' % log, 'call second.ftp', 'checkcasemask back.TXT *.txt', 'run third.ftp',
            'checkcasemask never *', '']))
        s.write('work/second.ftp', 'checkcasemask second *\nwait=0\n')  # LF lines
        s.write('work/third.ftp', 'checkcasemask third *\r\ncall missing.ftp\r\nexit\r\n')
        s.run_client('main.ftp')
        s.wait_window()
        s.wait_log(r'Cannot open .*missing\.ftp', 'the missing called script')
        text = s.log_text()
        order = [r'file: second', r'Script closed: .*second\.ftp', r'Script open: .*main\.ftp',
                 r'file: back\.TXT - mask: \*\.txt = TRUE', r'Script open: .*third\.ftp', r'file: third',
                 r'Error in Script .*third\.ftp: Cannot open .*missing\.ftp', r'Script syntax: call\|run\|script']
        at = 0
        for pattern in order:
            m = re.compile(pattern).search(text, at)
            if not m:
                raise Fail('the log lacks %r after position %d:\n%s' % (pattern, at, text))
            at = m.end()
        assert 'never' not in text, 'the run went on after run third.ftp'
        assert s.client.poll() is None, 'a missing called script must stop the scripts, not the program'
        print('call and back with the caller\'s lines, run, missing called script: as expected')
        s.exit_client()
    finally:
        s.stop()
    print('PASS')


if __name__ == '__main__':
    try:
        main()
    except (Fail, AssertionError) as failure:
        print('FAIL: %s' % failure)
        sys.exit(1)
