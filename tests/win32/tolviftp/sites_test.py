"""TolviFTP.exe against real servers (run by with_ftp_servers: vsftpd and the scripted pyftpdlib
server on loopback, their folders exported): from an empty TOLVIFTP.INI, Connect opens Site
Settings with a new default site, written when it is saved; the test fills in the scripted server,
saves and connects, and both lists fill. General settings turn on the log file and automatic names.
Files go both ways in image mode (an empty one, one of every byte value, one of several MB) and
are compared byte for byte on the other side; then ASCII mode and AppendMode against vsftpd,
AutoDelete with Confirm, deleting and creating directories on both sides with the Delete and
Insert keys, Abort during a large transfer, a wrong password, the host types of the scripted
server, and a restart that loads the default site with its password stored scrambled.

The dialogs are driven by control id with dlgdrive.exe, the window's lists read and selected and
its menu commands posted with ftp_lists.exe, keys typed with xdotool.

Arguments: the folder of TolviFTP.exe and the project root."""
import os
import random
import re
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'e2e'))
import e2e  # noqa: E402
from e2e import Fail, wait_until  # noqa: E402
from window_test import FtpSession, names  # noqa: E402

# Menu commands and dialog controls.
CONNECT, DISCONNECT, LOCAL_SEND, REMOTE_RECEIVE = 32777, 32778, 32781, 32784
LOCAL_DELETE, REMOTE_DELETE, LOCAL_MKDIR, REMOTE_MKDIR = 32788, 32787, 32783, 32786
SITE_SETTINGS, GENERAL_SETTINGS, ABORT, EXIT = 32789, 32790, 32773, 57665
SITE_NAME, HOST, USER, PASSWORD, LCD, DEFAULT = 136, 101, 102, 103, 143, 154
MODE_IMAGE, MODE_ASCII, SAVE, CONNECT_BUTTON, NEW = 140, 141, 112, 122, 138
GEN = {'email': 155, 'tempdir': 146, 'logfile': 147, 'enablelog': 148, 'zero': 156, 'autoname': 153,
       'autodelete': 152, 'confirm': 150, 'append': 158}
IDYES, IDNO = 6, 7


class SitesSession(FtpSession):
    def dlg(self, caption, *commands, wait=30000):
        result = subprocess.run([self.wine_run, os.path.join(self.bin, 'dlgdrive.exe'), caption, '--wait', str(wait)] +
                                [str(c) for c in commands], capture_output=True)
        if result.returncode != 0:
            shot = self.screenshot('sites_failure')
            raise Fail('dlgdrive %s %r: %s (screenshot %s)' % (caption, commands,
                                                                result.stderr.decode(errors='replace'), shot))
        return result.stdout.decode().replace('\r', '').split('\n')[:-1]

    def lists(self, *args):
        return subprocess.run([self.wine_run, os.path.join(self.bin, 'ftp_lists.exe')] + [str(a) for a in args],
                              capture_output=True).returncode

    def command(self, command_id):
        self.lists('command', command_id)

    def select(self, side, *entries):
        if self.lists('select', side, *entries) != 0:
            raise Fail('cannot select %r in the %s list: %r' % (entries, side, self.state()[side]))

    def focus(self, side):
        """F6 moves through the panes until `side` has the keyboard."""
        for _ in range(4):
            st = self.state()
            if st and st['focus'] == side:
                return
            self.key('F6')
            time.sleep(0.3)
        self.wait_state(lambda st: st['focus'] == side, 'the %s pane to take the keyboard' % side)

    def answer(self, caption, button, expect=None):
        """Answers a message box by its button id; checks its text when `expect` is given."""
        if expect is not None:
            text = self.dlg(caption, 'text', 65535)[0]
            if expect not in text:
                raise Fail('%s box says %r, expected %r' % (caption, text, expect))
        self.dlg(caption, 'click', button, 'wait-closed')

    def log_text(self):
        return self.read('work/tolviftp.log').decode('latin-1')

    def wait_log(self, pattern, what, after=0):
        try:
            return wait_until(lambda: re.search(pattern, self.log_text()[after:]), what, timeout=60)
        except Fail:
            raise Fail('%s; log:\n%s' % (what, self.log_text()[after:]))

    def ini(self):
        with open(self.ini_path(), 'rb') as f:
            return f.read().decode('latin-1')

    def start_client(self, settings):
        with open(self.ini_path(), 'w', newline='') as f:
            f.write('[TolviFTP]\r\n' + ''.join('%s=%s\r\n' % kv for kv in settings.items()))
        return self.launch()

    def launch(self):
        self.client = self.start([self.wine_run, os.path.join(self.bin, 'TolviFTP.exe')], cwd=self.path('work'),
                                 log='tolviftp.log.out')
        wait_until(lambda: e2e.xdotool_out('search', '--onlyvisible', '--name', r'Tolvi - FTP Client$'),
                   "TolviFTP's window")
        return wait_until(self.state, 'the lists to be read')

    def exit_client(self):
        self.command(EXIT)
        self.client.wait(timeout=60)
        self.processes.remove(self.client)


def server_file(root, name):
    with open(os.path.join(root, name), 'rb') as f:
        return f.read()


def same(a, b, what):
    if a != b:
        raise Fail('%s differ: %d and %d bytes' % (what, len(a), len(b)))


def main():
    bin_dir, root = sys.argv[1], sys.argv[2]
    scripted, scripted_root = os.environ['TOLVI_FTP_SCRIPTED'], os.environ['TOLVI_FTP_SCRIPTED_ROOT']
    vsftpd, vsftpd_root = os.environ['TOLVI_FTP_VSFTPD'], os.environ['TOLVI_FTP_VSFTPD_ROOT']
    s = SitesSession(bin_dir, root)
    rng = random.Random(32)
    try:
        for d in ('work', 'work/local', 'work/local/gone', 'work/local/keep'):
            os.mkdir(s.path(d))
        files = {
            'empty.bin': b'',
            'allbytes.bin': bytes(range(256)) * 3,
            'big.bin': bytes(rng.getrandbits(8) for _ in range(3 * 1024 * 1024 + 17)),
        }
        for name, data in files.items():
            with open(s.path('work/local/' + name), 'wb') as f:
                f.write(data)
        # Files the server offers for receiving, and a directory with a name that looks like one.
        down = {'down1.bin': bytes(rng.getrandbits(8) for _ in range(70000)), 'down0.bin': b'',
                '[old]x.txt': b'bracketed\n'}
        for name, data in down.items():
            with open(os.path.join(scripted_root, name), 'wb') as f:
                f.write(data)
        os.mkdir(os.path.join(scripted_root, 'subdir'))
        os.mkdir(os.path.join(scripted_root, 'old'))

        # ---- first start: an empty settings file; Connect opens Site Settings with a new site.
        st = s.start_client({})
        x_log, y_log = s.item_centre(0)
        y_log += 300  # the log pane, below the lists
        s.click(x_log, y_log)
        s.key('alt+Prior')
        assert s.dlg('Site Settings', 'item', SITE_NAME, 0) == ['Enter new site name']
        assert s.dlg('Site Settings', 'count', SITE_NAME, 'checked', DEFAULT, 'passwordchar', PASSWORD) == \
            ['1', '1', '42']
        assert '[Site:' not in s.ini() and 'DefaultSite' not in s.ini(), s.ini()  # nothing written before Save
        s.dlg('Site Settings', 'focus', SITE_NAME, 'type', SITE_NAME, 'scripted')
        # The host follows the name typed while it is empty.
        assert s.dlg('Site Settings', 'text', HOST) == ['scripted']
        s.dlg('Site Settings', 'settext', HOST, scripted, 'settext', USER, 'tolvi', 'settext', PASSWORD, 'secret',
              'settext', LCD, s.windows_path('work\\local'), 'click', SAVE)
        shot = s.screenshot('tolviftp_site_settings')
        print('screenshot: ' + shot)
        s.dlg('Site Settings', 'click', CONNECT_BUTTON, 'wait-closed')
        st = s.wait_state(lambda st: 'down1.bin' in names(st['remote']), 'the remote list to fill')
        remote = names(st['remote'])
        assert remote[0] == '[..]' and '[subdir]' in remote and '[old]' in remote, remote
        assert {'down1.bin', 'down0.bin', '[old]x.txt'} <= set(remote), remote
        assert st['dirbar1'] == '/', st
        assert st['dirbar0'].lower() == s.windows_path('work\\local').lower(), st
        assert 'big.bin' in names(st['local']), st['local']
        ini = s.ini()
        assert 'secret' not in ini and re.search(r'Password=\?[a-p]{12}\?', ini), ini
        assert 'DefaultSite=scripted' in ini and '[SiteNumbers]\r\n1=' in ini, ini
        print('first connection: site saved as default, both lists and folders shown')
        shot = s.screenshot('tolviftp_connected')
        print('screenshot: ' + shot)

        # ---- General settings: a log file, automatic names, the zero-length warning.
        s.command(GENERAL_SETTINGS)
        log_path = s.windows_path('work\\tolviftp.log')
        s.dlg('General settings', 'settext', GEN['logfile'], log_path, 'settext', GEN['email'], 'me@example.org',
              'click', GEN['enablelog'], 'click', GEN['autoname'], 'click', GEN['zero'])
        shot = s.screenshot('tolviftp_general_settings')
        print('screenshot: ' + shot)
        s.dlg('General settings', 'click', 1, 'wait-closed')
        wait_until(lambda: os.path.exists(s.path('work/tolviftp.log')), 'the log file to be created')
        ini = s.ini()
        for key in ('Email=me@example.org', 'LogFile=' + log_path, 'EnableLog=On', 'AutoName=On',
                    'WarningIfZeroLength=On', 'Retain=Off', 'AutoDelete=Off', 'Confirm=Off', 'Verbose=Off',
                    'Debug=Off', 'AutoSizeWindow=On', 'AppendMode=Off', 'AvoidZero=On', 'TempDir='):
            assert key + '\r\n' in ini or key in ini, (key, ini)
        print('general settings: every key written, log file created')

        # ---- sending three files, confirmed.
        s.focus('local')
        s.select('local', *files)
        s.command(LOCAL_SEND)
        s.answer('TolviFTP', IDYES, 'OK to send 3 selected files?')
        s.wait_log(r'Sending big\.bin -> big\.bin[^\n]*\n[^\n]*Transfer Complete \(%d bytes\)' % len(files['big.bin']),
                   'big.bin to be sent')
        s.wait_log(r'Warning: File empty\.bin size was zero', 'the zero-length warning')
        for name, data in files.items():
            same(server_file(scripted_root, name), data, name + ' sent')
        s.wait_state(lambda st: 'big.bin' in names(st['remote']), 'the remote list to show what was sent')
        print('sent: %s, byte for byte' % ', '.join(files))

        # ---- receiving, confirmed; a file named like a directory stays a file.
        s.focus('remote')
        s.select('remote', 'down1.bin', 'down0.bin', '[old]x.txt')
        s.command(REMOTE_RECEIVE)
        s.answer('TolviFTP', IDYES, 'OK to recv 3 selected files?')
        wait_until(lambda: os.path.exists(s.path('work/local/[old]x.txt')), 'the received files')
        s.wait_log(r'Receiving \[old\]x\.txt', 'the last receive')
        for name, data in down.items():
            wait_until(lambda: os.path.exists(s.path('work/local/' + name)) and s.read('work/local/' + name) == data,
                       name + ' received byte for byte')
        print('received: %s, byte for byte' % ', '.join(down))

        # ---- deleting a directory and a file on each side (Delete key), creating (Insert key).
        s.focus('remote')
        s.wait_state(lambda st: '[old]x.txt' in names(st['remote']), 'the remote list')
        s.select('remote', '[old]x.txt', '[subdir]')
        s.key('Delete')
        s.answer('TolviFTP', IDYES, 'OK to delete 2 selected directories & files?')
        st = s.wait_state(lambda st: '[subdir]' not in names(st['remote']), 'the remote deletion')
        assert '[old]' in names(st['remote']) and os.path.isdir(os.path.join(scripted_root, 'old')), st['remote']
        assert not os.path.exists(os.path.join(scripted_root, '[old]x.txt'))
        s.key('Insert')
        s.dlg('Keyin:', 'settext', 110, 'madehere', 'click', 1, 'wait-closed')
        s.wait_state(lambda st: '[madehere]' in names(st['remote']), 'the new remote directory')
        assert os.path.isdir(os.path.join(scripted_root, 'madehere'))
        s.focus('local')
        s.select('local', '[gone]', 'down0.bin')
        s.key('Delete')
        s.answer('TolviFTP', IDYES, 'OK to delete 2 selected directories & files?')
        s.wait_state(lambda st: '[gone]' not in names(st['local']), 'the local deletion')
        assert not os.path.exists(s.path('work/local/gone')) and not os.path.exists(s.path('work/local/down0.bin'))
        assert os.path.isdir(s.path('work/local/keep'))
        s.key('Insert')
        s.dlg('Keyin:', 'settext', 110, 'newlocal', 'click', 1, 'wait-closed')
        s.wait_state(lambda st: '[newlocal]' in names(st['local']), 'the new local directory')
        s.wait_log(r'Deleted remote directory subdir', 'the remote directory log line')
        s.wait_log(r'Deleted local directory gone', 'the local directory log line')
        print('deleted a directory and a file on each side, created a directory on each side')

        # ---- Abort during a large transfer ends the walk and leaves the window usable.
        # (The list views abort without a log line; the main view's Abort logs it, so the click
        # into the log pane during the transfer makes that the active pane.)
        # A sparse file of 16 GiB: a transfer at loopback speed still runs for many seconds, so
        # the Abort lands in it however fast the client sends.
        with open(s.path('work/local/aaa_huge.bin'), 'wb') as f:
            f.truncate(16 << 30)
        s.key('F5')
        s.wait_state(lambda st: 'aaa_huge.bin' in names(st['local']), 'aaa_huge.bin in the list')
        s.select('local', 'aaa_huge.bin', 'allbytes.bin')
        s.command(LOCAL_SEND)
        mark = len(s.log_text())
        s.answer('TolviFTP', IDYES, 'OK to send 2 selected files?')
        s.wait_log(r'Sending aaa_huge\.bin', 'the large transfer to start', mark)
        s.click(x_log, y_log)
        time.sleep(0.3)
        s.command(ABORT)
        s.wait_log(r'Abort issued', 'the abort line', mark)
        s.wait_log(r'Error -?\d+ on send', 'the transfer to end with an error', mark)
        time.sleep(1)
        assert 'allbytes.bin' not in s.log_text()[mark:], 'the walk went on after Abort'
        s.focus('local')
        s.key('F5')
        s.wait_state(lambda st: 'aaa_huge.bin' in names(st['local']), 'the window to answer after Abort')
        print('abort: logged, walk ended, window usable')

        # ---- a restart loads the default site and logs on again with the scrambled password.
        s.exit_client()
        st = s.launch()
        s.click(*s.item_centre(0))
        s.key('alt+Prior')
        assert s.dlg('Site Settings', 'item', SITE_NAME, 0, 'text', HOST, 'text', PASSWORD, 'checked', DEFAULT) == \
            ['scripted', scripted, 'secret', '1']
        s.dlg('Site Settings', 'click', CONNECT_BUTTON, 'wait-closed')
        s.wait_state(lambda st: 'big.bin' in names(st['remote']), 'the remote list after the restart')
        print('restart: default site loaded, logged on again')

        # ---- a second site: vsftpd, anonymous, ASCII mode translated, AppendMode, AutoDelete.
        s.command(SITE_SETTINGS)
        s.dlg('Site Settings', 'click', NEW)
        assert s.dlg('Site Settings', 'checked', DEFAULT, 'text', HOST) == ['0', scripted]
        s.dlg('Site Settings', 'type', SITE_NAME, 'vsftpd', 'settext', HOST, vsftpd, 'settext', USER, 'anonymous',
              'settext', PASSWORD, 'x@y', 'click', MODE_ASCII, 'click', SAVE,
              'click', CONNECT_BUTTON, 'wait-closed')
        s.wait_state(lambda st: st['dirbar1'] == vsftpd_root, 'the vsftpd folder')
        ini = s.ini()
        assert 'DefaultSite=scripted' in ini and '[Site:2]' in ini and 'Mode=A' in ini, ini
        with open(s.path('work/local/text.txt'), 'wb') as f:
            f.write(b'one\r\ntwo\r\n')
        with open(os.path.join(vsftpd_root, 'unix.txt'), 'wb') as f:
            f.write(b'alpha\nbeta\n')
        s.focus('local')
        s.key('F5')
        s.wait_state(lambda st: 'text.txt' in names(st['local']), 'text.txt in the list')
        s.select('local', 'text.txt')
        s.command(LOCAL_SEND)
        s.answer('TolviFTP', IDYES)
        wait_until(lambda: os.path.exists(os.path.join(vsftpd_root, 'text.txt')) and
                   server_file(vsftpd_root, 'text.txt') == b'one\ntwo\n', 'text.txt stored with LF line ends')
        s.focus('remote')
        s.key('F5')
        s.wait_state(lambda st: 'unix.txt' in names(st['remote']), 'unix.txt in the remote list')
        s.select('remote', 'unix.txt')
        s.command(REMOTE_RECEIVE)
        s.answer('TolviFTP', IDYES)
        wait_until(lambda: s.read('work/local/unix.txt') == b'alpha\r\nbeta\r\n', 'unix.txt with CR LF line ends')
        print('ASCII mode against vsftpd: line ends translated both ways')

        # AppendMode and AutoDelete with Confirm (No keeps the source, Yes deletes it).
        s.command(GENERAL_SETTINGS)
        s.dlg('General settings', 'click', GEN['append'], 'click', GEN['autodelete'], 'click', GEN['confirm'],
              'click', 1, 'wait-closed')
        s.select('remote', 'unix.txt')
        s.command(REMOTE_RECEIVE)
        s.answer('TolviFTP', IDYES)
        s.answer('TolviFTP', IDNO, 'OK to delete file unix.txt?')
        wait_until(lambda: s.read('work/local/unix.txt') == b'alpha\r\nbeta\r\n' * 2, 'unix.txt appended')
        assert os.path.exists(os.path.join(vsftpd_root, 'unix.txt'))
        s.select('remote', 'unix.txt')
        s.command(REMOTE_RECEIVE)
        s.answer('TolviFTP', IDYES)
        s.answer('TolviFTP', IDYES, 'OK to delete file unix.txt?')
        wait_until(lambda: not os.path.exists(os.path.join(vsftpd_root, 'unix.txt')), 'unix.txt deleted on the server')
        s.wait_log(r'Deleted remote file unix\.txt', 'the remote deletion line')
        print('AppendMode appended; AutoDelete with Confirm: No kept, Yes deleted')

        # ---- a wrong password: 3015 logged, the engine's box answered, the lists unchanged.
        before = s.state()
        s.command(SITE_SETTINGS)
        s.dlg('Site Settings', 'pick', SITE_NAME, 0)
        s.dlg('Site Settings', 'settext', PASSWORD, 'wrong', 'postclick', CONNECT_BUTTON)
        s.answer('Tolvi', IDNO, 'Save changes to site: "scripted" ?')
        s.answer('Login Failed', 1)
        s.wait_log(r'Error \d+ On Login: ', 'the log-on failure line')
        after = s.state()
        assert after['remote'] == before['remote'] and after['local'] == before['local'], (before, after)
        assert 'wrong' not in s.ini()
        print('wrong password: logged, box answered, lists unchanged')

        # ---- host types of the scripted server.
        for kind, expect in (('vmsmultinet', 'vms'), ('mvs', 'mvs')):
            s.command(SITE_SETTINGS)
            s.dlg('Site Settings', 'click', NEW)
            s.dlg('Site Settings', 'type', SITE_NAME, kind, 'settext', HOST, scripted, 'settext', USER, 'host-' + kind,
                  'settext', PASSWORD, 'secret', 'click', MODE_IMAGE, 'click', SAVE, 'click', CONNECT_BUTTON,
                  'wait-closed')
            want = set()
            with open(os.path.join(root, 'tests', 'data', 'ftp', 'listings', expect + '.want')) as f:
                for line in f.read().splitlines():
                    if '\t' in line:
                        entry_kind, name = line.split('\t')[:2]
                        want.add('[%s]' % name if entry_kind == 'D' else name)
            st = s.wait_state(lambda st: set(names(st['remote'])) - {'[..]'} == want,
                              'the remote list to show the %s fixture %r' % (kind, sorted(want)))
            print('%s: the remote list shows the fixture listing (%d entries)' % (kind, len(want)))
        s.exit_client()
        with open(s.path('work/tolviftp.log'), 'rb') as f:
            print('log lines: %d' % f.read().count(b'\n'))
    finally:
        s.stop()
    print('PASS')


if __name__ == '__main__':
    try:
        main()
    except (Fail, AssertionError) as failure:
        print('FAIL: %s' % failure)
        sys.exit(1)
