"""TolviFTP.exe when things go wrong, against real servers (run by with_ftp_servers: vsftpd and the
scripted pyftpdlib server, plus a slow pyftpdlib server of this test's own that it can kill):

- the site store: a command-line start (its window of full size, not a strip), the Site Settings
  dialog closed with Cancel, and New then Cancel leave TOLVIFTP.INI byte for byte as it was; a
  script's site=NAME finds a stored site;
- the server killed in the middle of a download: the error is logged as such (not as an abort by
  the user), no partial file stays under the real name, the session is over and Connect works;
- Disconnect during a download cancels it, then closes, and the title no longer shows progress;
  the next Connect works;
- the window's close box and Exit during a download cancel it the same way; the window stays;
- a server that announces no size: the progress shows bytes and a rate, no percentage;
- transfer mode Auto: a .txt goes as ASCII (line ends translated), a .bin as image, never TYPE U;
- the remote list of both servers shows sizes in groups of three digits (screenshots kept);
- UTF-8 names both ways with a server that announces UTF8: shown and stored under their own
  names, a name with no form in the Windows code page left out and reported.

The cases run in order in one TolviFTP session each; a table names them.

Arguments: the folder of TolviFTP.exe and the project root."""
import os
import re
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'e2e'))
import e2e  # noqa: E402
from e2e import Fail, wait_until  # noqa: E402
from connect_test import ConnectSession  # noqa: E402
from sites_test import (CONNECT, CONNECT_BUTTON, DISCONNECT, EXIT, IDYES, LOCAL_SEND, NEW,  # noqa: E402
                        REMOTE_RECEIVE, SITE_NAME, SITE_SETTINGS)
from window_test import names  # noqa: E402

IDCANCEL = 2
BIG = 48 * 1024 * 1024
# A pyftpdlib server that sends at 4 MB/s and announces no sizes.
SLOW_SERVER = r'''
import sys
from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler, ThrottledDTPHandler
from pyftpdlib.servers import FTPServer
port, root = int(sys.argv[1]), sys.argv[2]
authorizer = DummyAuthorizer()
authorizer.add_user("tolvi", "secret", root, perm="elradfmw")
ThrottledDTPHandler.write_limit = 4 * 1024 * 1024
FTPHandler.authorizer = authorizer
FTPHandler.dtp_handler = ThrottledDTPHandler
FTPServer(("127.0.0.1", port), FTPHandler).serve_forever()
'''


class FailuresSession(ConnectSession):
    def start_slow(self):
        self.slow = self.start(['/usr/bin/python3', '-c', SLOW_SERVER, str(self.slow_port), self.slow_root],
                               log='slow.log')
        wait_until(lambda: e2e.listening(self.slow_port), 'the slow server to listen')

    def kill_slow(self):
        self.slow.send_signal(signal.SIGKILL)
        self.slow.wait()
        self.processes.remove(self.slow)

    def connect_site(self, index):
        """Connect: the site dialog with the site at `index` of its list, its Connect button."""
        self.command(CONNECT)
        self.dlg('Site Settings', 'pick', SITE_NAME, index)
        self.dlg('Site Settings', 'click', CONNECT_BUTTON, 'wait-closed')

    def start_download(self, name, local):
        """Receives `name` and waits until part of it has arrived in `local`."""
        self.focus('remote')
        self.wait_state(lambda st: name in names(st['remote']), name + ' in the remote list')
        self.select('remote', name)
        self.command(REMOTE_RECEIVE)
        self.answer('TolviFTP', IDYES)
        wait_until(lambda: os.path.exists(local) and os.path.getsize(local) > 0, 'the download to start')


def site(name, host, user, password, mode='I', local=''):
    return ('Site=%s\r\nHost=%s\r\nUser=%s\r\nPassword=%s\r\nLCD=%s\r\nMode=%s\r\nLoginType=Normal\r\n'
            'SavePassword=On\r\n' % (name, host, user, password, local, mode))


def case_site_store(s):
    before = s.ini_bytes()
    st = s.launch('verbose=on')
    frame = [int(v) for v in st['frame'].split()[:4]]
    assert frame[2] - frame[0] >= 480 and frame[3] - frame[1] >= 300, 'a command-line start made the window %r' % frame
    s.command(SITE_SETTINGS)
    assert s.dlg('Site Settings', 'count', SITE_NAME, 'item', SITE_NAME, 0) == ['3', 'slow']
    s.dlg('Site Settings', 'click', IDCANCEL, 'wait-closed')
    s.command(SITE_SETTINGS)
    s.dlg('Site Settings', 'click', NEW)
    assert s.dlg('Site Settings', 'count', SITE_NAME) == ['4']
    s.dlg('Site Settings', 'click', IDCANCEL, 'wait-closed')
    assert s.ini_bytes() == before, 'TOLVIFTP.INI changed:\n%s' % s.ini()
    s.exit_client()
    assert s.ini_bytes() == before, 'TOLVIFTP.INI changed at exit:\n%s' % s.ini()
    print('site store: command-line start, Cancel, New + Cancel left TOLVIFTP.INI as it was')


def case_server_killed(s):
    s.launch()
    s.connect_site(0)
    mark = len(s.log_text())
    local = s.path('work/local/big.bin')
    # Sizes in groups of three digits (pyftpdlib's listing).
    st = s.wait_state(lambda st: 'big.bin' in names(st['remote']), 'big.bin in the remote list')
    entry = next(e for e in st['remote'] if e.startswith('big.bin\t'))
    assert re.search(r'\t50(?P<sep>\D+)331(?P=sep)648\t', entry), entry
    print('screenshot: ' + s.screenshot('tolviftp_pyftpdlib_lists'))
    s.start_download('big.bin', local)
    # No size announced: the bar's text (the title shows it) has bytes and a rate, no percentage.
    title = wait_until(lambda: (lambda t: t if 'bytes' in t else None)(s.state()['title']), 'the progress in the title')
    shown = re.search(r'(\d+) bytes  (\d+\.\d\d) ([KM])b/s  (\d+):(\d\d) elapsed', title)
    assert '%' not in title and shown, title
    # The rate is what arrived over the time passed (kilobytes a second are bytes a millisecond).
    rate = float(shown.group(2)) * (1000.0 if shown.group(3) == 'M' else 1.0) * 1000.0
    seconds = int(shown.group(4)) * 60 + int(shown.group(5))
    assert seconds - 0.5 <= int(shown.group(1)) / rate < seconds + 1.5, title
    s.kill_slow()
    s.wait_log(r'Error 2002 On Recv', 'the broken transfer to be logged as an error', mark)
    assert 'aborted by user' not in s.log_text()[mark:], s.log_text()[mark:]
    wait_until(lambda: not os.path.exists(local), 'the partial file to go')
    s.start_slow()
    mark = len(s.log_text())
    s.connect_site(0)
    s.wait_log(r'connection OK', 'Connect after the broken transfer', mark)
    print('server killed mid-download: error logged, partial file gone (%s), Connect works' % title.strip())


def case_disconnect(s):
    mark = len(s.log_text())
    local = s.path('work/local/big.bin')
    s.start_download('big.bin', local)
    s.command(DISCONNECT)
    s.wait_log(r'Abort issued', 'the abort', mark)
    s.wait_log(r'Error -1 On Recv', 'the cancelled transfer', mark)
    wait_until(lambda: not os.path.exists(local), 'the partial file to go')
    st = s.wait_state(lambda st: st['remote'] == [], 'the remote list to empty')
    assert 'bytes' not in st['title'] and '%' not in st['title'], 'the title after the abort: %r' % st['title']
    mark = len(s.log_text())
    s.connect_site(0)
    s.wait_log(r'connection OK', 'Connect after Disconnect', mark)
    s.wait_state(lambda st: 'big.bin' in names(st['remote']), 'the remote list again')
    print('Disconnect during a download: cancelled, closed, Connect works')


def case_close_and_exit(s):
    local = s.path('work/local/big.bin')
    for how in ('close', 'exit'):
        mark = len(s.log_text())
        s.start_download('big.bin', local)
        if how == 'close':
            s.lists('close')
        else:
            s.command(EXIT)
        s.wait_log(r'Error -1 On Recv', 'the cancelled transfer (%s)' % how, mark)
        wait_until(lambda: not os.path.exists(local), 'the partial file to go (%s)' % how)
        time.sleep(1)
        assert s.client.poll() is None, '%s during a transfer ended TolviFTP' % how
    s.focus('remote')
    s.key('F5')
    s.wait_state(lambda st: 'big.bin' in names(st['remote']), 'the window to answer')
    s.exit_client()
    assert re.search(r'\r\nWindow=-?\d+ -?\d+ \d+ \d+ \d\r\n', s.ini()), 'the window size was not kept:\n' + s.ini()
    print('close box and Exit during a download: both cancelled it, the window stayed (its size kept at exit)')


def case_auto_mode(s, vsftpd_root):
    s.write('work/local/auto.txt', 'one\r\ntwo\r\n')
    with open(s.path('work/local/auto.bin'), 'wb') as f:
        f.write(b'one\r\ntwo\r\n\x00\xff')
    with open(os.path.join(vsftpd_root, 'sizes.bin'), 'wb') as f:
        f.truncate(1234567)
    # A script's site=NAME finds the stored site (mode Auto) and connects.
    s.launch('site=vs', 'connect')
    s.wait_log(r'connection OK', 'the script to connect to the stored site')
    assert 'Site not found' not in s.log_text(), s.log_text()
    # Sizes in groups of three digits (vsftpd's listing).
    st = s.wait_state(lambda st: 'sizes.bin' in names(st['remote']), 'sizes.bin in the remote list')
    entry = next(e for e in st['remote'] if e.startswith('sizes.bin\t'))
    assert re.search(r'\t1(?P<sep>\D+)234(?P=sep)567\t', entry), entry
    print('screenshot: ' + s.screenshot('tolviftp_vsftpd_lists'))
    s.focus('local')
    s.key('F5')
    s.wait_state(lambda st: 'auto.bin' in names(st['local']), 'the local files')
    s.select('local', 'auto.txt', 'auto.bin')
    s.command(LOCAL_SEND)
    s.answer('TolviFTP', IDYES)
    s.wait_log(r'Transfer Complete \(10 bytes\)', 'both files to be sent')
    wait_until(lambda: os.path.exists(os.path.join(vsftpd_root, 'auto.bin')), 'auto.bin on the server')
    with open(os.path.join(vsftpd_root, 'auto.txt'), 'rb') as f:
        assert f.read() == b'one\ntwo\n', 'auto.txt not sent as text'
    with open(os.path.join(vsftpd_root, 'auto.bin'), 'rb') as f:
        assert f.read() == b'one\r\ntwo\r\n\x00\xff', 'auto.bin not sent as image'
    log = s.log_text()
    sent = re.findall(r'Ftp: (TYPE \w)\r?\n', log)
    assert 'TYPE U' not in sent and 'TYPE A' in sent and 'TYPE I' in sent, sent
    s.exit_client()
    print('Auto: auto.txt as ASCII, auto.bin as image, no TYPE U')


def case_utf8(s, scripted_root):
    with open(os.path.join(scripted_root, 'größe.txt'), 'wb') as f:
        f.write(b'from the server\n')
    with open(os.path.join(scripted_root, '漢字.txt'), 'wb') as f:
        f.write(b'no form in the code page\n')
    with open(s.path('work/local/smörgås.txt'), 'wb') as f:
        f.write(b'from here\n')
    s.launch()
    s.connect_site(2)
    st = s.wait_state(lambda st: 'größe.txt' in names(st['remote']), 'the UTF-8 name in the remote list')
    assert not any('漢' in n or 'Ã' in n for n in names(st['remote'])), st['remote']
    s.wait_log(r'Name left out', 'the name with no form to be reported')
    assert 'OPTS UTF8 ON' in s.log_text()
    s.start_download('größe.txt', s.path('work/local/größe.txt'))
    wait_until(lambda: s.read('work/local/größe.txt') == b'from the server\n', 'größe.txt received under its name')
    s.focus('local')
    s.key('F5')
    s.wait_state(lambda st: 'smörgås.txt' in names(st['local']), 'smörgås.txt in the local list')
    s.select('local', 'smörgås.txt')
    s.command(LOCAL_SEND)
    s.answer('TolviFTP', IDYES)
    target = os.path.join(scripted_root, 'smörgås.txt')
    wait_until(lambda: os.path.exists(target), 'smörgås.txt stored under its UTF-8 name')
    s.exit_client()
    print('UTF-8 names: größe.txt received, smörgås.txt sent, 漢字.txt left out and reported')


def main():
    bin_dir, root = sys.argv[1], sys.argv[2]
    scripted, scripted_root = os.environ['TOLVI_FTP_SCRIPTED'], os.environ['TOLVI_FTP_SCRIPTED_ROOT']
    vsftpd, vsftpd_root = os.environ['TOLVI_FTP_VSFTPD'], os.environ['TOLVI_FTP_VSFTPD_ROOT']
    s = FailuresSession(bin_dir, root)
    s.ini_bytes = lambda: open(s.ini_path(), 'rb').read()
    try:
        for d in ('work', 'work/local', 'slow'):
            os.mkdir(s.path(d))
        s.slow_root, s.slow_port = s.path('slow'), e2e.free_port()
        with open(os.path.join(s.slow_root, 'big.bin'), 'wb') as f:
            f.write(os.urandom(1024 * 1024) * (BIG // (1024 * 1024)))
        s.start_slow()
        local = s.windows_path('work\\local')
        s.write_ini('[TolviFTP]\r\nDefaultSite=slow\r\nLogFile=%s\r\nEnableLog=On\r\nAutoName=On\r\nVerbose=On\r\n'
                    'TempDir=%s\r\n[SiteNumbers]\r\n1=\r\n2=\r\n3=\r\n[Site:1]\r\n%s[Site:2]\r\n%s[Site:3]\r\n%s'
                    % (s.windows_path('work\\tolviftp.log'), s.windows_path('work'),
                       site('slow', '127.0.0.1:%d' % s.slow_port, 'tolvi', 'secret', 'I', local),
                       site('vs', vsftpd, 'anonymous', 'me@example.org', 'U', local),
                       site('scripted', scripted, 'tolvi', 'secret', 'I', local)))
        cases = [
            ('site store', lambda: case_site_store(s)),
            ('server killed', lambda: case_server_killed(s)),
            ('disconnect', lambda: case_disconnect(s)),
            ('close and exit', lambda: case_close_and_exit(s)),
            ('auto mode', lambda: case_auto_mode(s, vsftpd_root)),
            ('utf-8 names', lambda: case_utf8(s, scripted_root)),
        ]
        only = os.environ.get('TOLVI_FTP_CASES')
        for name, run in cases:
            if only and name not in only.split(','):
                continue
            run()
    finally:
        s.stop()
    print('PASS')


if __name__ == '__main__':
    try:
        main()
    except (Fail, AssertionError) as failure:
        print('FAIL: %s' % failure)
        sys.exit(1)
