"""TolviFTP.exe's install personality against the scripted server (run by with_ftp_servers).

A kit folder holds a copy of TolviFTP.exe, the archive, version.txt, readme.txt and install.wcf;
`TolviFTP.exe install` started there logs the welcome line and both files as plain text (their
"%" shown as "%") and opens "Parameters" with the proposed remote name; a changed local name
proposes again when it loses the focus; an empty field, a missing local file and a password with a
double quote are refused with their messages. The test fills host, user and password and presses
"OK, Send file": the archive lands on the server byte for byte, "Will now:" is answered, the
program starts what ".wcf" is associated with and ends.

The association points to install_recorder.exe, which records its command line, for each kind of
remote name: pkg.tar, pkg.tar.Z that is not the default, the kit's own compressed archive (the
default .tar.Z) and notes.txt, which starts nothing. Without an association "Tolvi not found" is
shown; with an association to a program that does not exist, the WinExec error. Last the
association points to Tolvi.exe, which starts on install.wcf and logs on to a telnetd of the test
with the user and password given.

Arguments: the folder of TolviFTP.exe and the project root."""
import os
import re
import shutil
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'e2e'))
import e2e  # noqa: E402
from e2e import Fail, wait_until  # noqa: E402
from sites_test import SitesSession, same  # noqa: E402

HOST, USER, PASSWORD, LOCAL, REMOTE = 101, 102, 103, 104, 105
IDOK, IDCANCEL = 1, 2
PARAMS = 'Parameters'
CLASS = 'TolviFtpInstallTest'
VERSION = 'Kit 4.0 built 100%\r\nformat %s %d stays\r\n'
README = 'Read me first\n50% done, %n never expands\n'


class InstallSession(SitesSession):
    def reg(self, *args):
        return subprocess.run([self.wine_run, 'reg'] + list(args), capture_output=True)

    def associate(self, command):
        """".wcf" opens with `command` (None: no association)."""
        self.reg('delete', 'HKCR\\' + CLASS, '/f')
        if command is None:
            self.reg('delete', 'HKCR\\.wcf', '/f')
            return
        self.reg('add', 'HKCR\\.wcf', '/ve', '/d', CLASS, '/f')
        self.reg('add', 'HKCR\\%s\\shell\\open\\command' % CLASS, '/ve', '/d', command, '/f')

    def kit(self, name, files):
        folder = self.path(name)
        os.mkdir(folder)
        shutil.copy(os.path.join(self.bin, 'TolviFTP.exe'), folder)
        for file_name, data in files.items():
            with open(os.path.join(folder, file_name), 'wb') as f:
                f.write(data)
        return folder

    def install(self, folder):
        """Starts `TolviFTP.exe install` in the kit folder; returns the Parameters dialog's fields."""
        self.client = self.start([self.wine_run, os.path.join(folder, 'TolviFTP.exe'), 'install'], cwd=folder,
                                 log='tolviftp.out')
        return self.dlg(PARAMS, 'text', HOST, 'text', USER, 'text', LOCAL, 'text', REMOTE)

    def log(self):
        out = subprocess.run([self.wine_run, os.path.join(self.bin, 'ftp_lists.exe'), 'log'], capture_output=True)
        return out.stdout.decode('utf-8', errors='replace').replace('\r', '')

    def send(self, host, remote=None):
        if remote is not None:
            self.dlg(PARAMS, 'settext', REMOTE, remote)
        self.dlg(PARAMS, 'settext', HOST, host, 'settext', USER, 'tolvi', 'settext', PASSWORD, 'secret',
                 'postclick', IDOK)

    def answer(self, caption, button, expect=None):
        """Answers a message box; its whole text (every line) must hold `expect`."""
        if expect is not None:
            text = '\n'.join(self.dlg(caption, 'text', 65535))
            if expect not in text:
                raise Fail('%s box says %r, expected %r' % (caption, text, expect))
        self.dlg(caption, 'click', button, 'wait-closed')

    def ended(self):
        self.client.wait(timeout=60)
        self.processes.remove(self.client)

    def exit_client(self):
        self.command(57665)
        self.ended()


def recorded(folder):
    try:
        with open(os.path.join(folder, 'recorded.txt'), 'rb') as f:
            return f.read().decode('latin-1').splitlines()
    except OSError:
        return []


def main():
    bin_dir, root = sys.argv[1], sys.argv[2]
    scripted, scripted_root = os.environ['TOLVI_FTP_SCRIPTED'], os.environ['TOLVI_FTP_SCRIPTED_ROOT']
    s = InstallSession(bin_dir, root)
    old = s.reg('query', 'HKCR\\.wcf', '/ve').stdout.decode(errors='replace')
    old_class = re.search(r'REG_SZ\s+(\S+)', old)
    try:
        os.mkdir(os.path.join(scripted_root, 'tmp'))
        pkg = os.urandom(300000)
        compressed = os.urandom(20000)
        wcf = b'[Tolvi]\r\nVersion=4.5.6.3\r\n'
        kit1 = s.kit('kit1', {'pkg.tar': pkg, 'version.txt': VERSION.encode(), 'readme.txt': README.encode(),
                              'install.wcf': wcf, 'notes.txt': b'just notes\r\n'})
        recorder = s.windows_path('kit1\\install_recorder.exe')
        shutil.copy(os.path.join(bin_dir, 'install_recorder.exe'), kit1)
        s.associate('"%s" "%%1"' % recorder)
        win_kit1 = s.windows_path('kit1')

        # ---- pkg.tar: the start-up log, the proposals, the refusals, the send and the start.
        fields = s.install(kit1)
        assert fields == ['', 'root', win_kit1 + '\\pkg.tar', '/tmp/pkg.tar'], fields
        log = s.log()
        lines = [line[10:] for line in log.splitlines()]
        want = ["Welcome to Mervo's Network Install over FTP", 'Kit 4.0 built 100%', 'format %s %d stays',
                'Read me first', '50% done, %n never expands']
        assert lines == want, log
        shot = s.screenshot('tolviftp_install_parameters')
        print('screenshot: ' + shot)
        # A local name changed by hand proposes its remote name when it loses the focus.
        s.dlg(PARAMS, 'focus', LOCAL, 'settext', LOCAL, win_kit1 + '\\NEW.TAZ', 'focus', HOST)
        assert s.dlg(PARAMS, 'text', REMOTE) == ['/tmp/new.tar.Z']
        s.dlg(PARAMS, 'focus', LOCAL, 'settext', LOCAL, win_kit1 + '\\pkg.tar', 'focus', HOST)
        assert s.dlg(PARAMS, 'text', REMOTE) == ['/tmp/pkg.tar']
        s.dlg(PARAMS, 'settext', HOST, scripted, 'postclick', IDOK)
        s.answer('Field validation', IDOK, 'All fields must be filled!')
        s.dlg(PARAMS, 'settext', LOCAL, win_kit1 + '\\missing.tar', 'postclick', IDOK)
        s.answer('Field validation', IDOK, 'Local File not found!')
        s.dlg(PARAMS, 'settext', LOCAL, win_kit1 + '\\pkg.tar', 'settext', USER, 'tolvi',
              'settext', PASSWORD, 'x" /c', 'postclick', IDOK)
        s.answer('Field validation', IDOK, 'double quote')
        s.send(scripted)
        s.answer('Tolvi', IDOK, 'Will now:\n\n- Login as tolvi to UNIX\n- Expand the archive\n- Start the installation')
        s.ended()
        same(open(os.path.join(scripted_root, 'tmp', 'pkg.tar'), 'rb').read(), pkg, 'pkg.tar on the server')
        prefix = '%s install.wcf  /c  /ip:%s /user:tolvi /pw:secret' % (recorder, scripted)
        assert recorded(kit1) == [prefix + ' /program:"tar -xvf /tmp/pkg.tar"'], recorded(kit1)
        print('pkg.tar: logged, proposed, refused, sent byte for byte; started: %s' % recorded(kit1)[-1])

        # ---- pkg.tar.Z, not the kit's default: uncompress and unpack.
        kit2 = s.kit('kit2', {'kit.taz': compressed, 'install.wcf': wcf})
        shutil.copy(os.path.join(bin_dir, 'install_recorder.exe'), kit2)
        fields = s.install(kit2)
        assert fields[3] == '/tmp/kit.tar.Z', fields
        s.send(scripted, '/tmp/pkg.tar.Z')
        s.answer('Tolvi', IDOK, '- uncompress \n- Expand')
        s.ended()
        same(open(os.path.join(scripted_root, 'tmp', 'pkg.tar.Z'), 'rb').read(), compressed, 'pkg.tar.Z on the server')
        assert recorded(kit1)[-1] == prefix + ' /program:"uncompress /tmp/pkg.tar;tar -xvf /tmp/pkg.tar"', \
            recorded(kit1)

        # ---- the kit's own compressed archive: the document's program unpacks it.
        s.install(kit2)
        s.send(scripted)
        s.answer('Tolvi', IDOK)
        s.ended()
        same(open(os.path.join(scripted_root, 'tmp', 'kit.tar.Z'), 'rb').read(), compressed, 'kit.tar.Z on the server')
        assert recorded(kit1)[-1] == prefix, recorded(kit1)

        # ---- notes.txt: sent, nothing started, the program stays.
        s.install(kit1)
        s.dlg(PARAMS, 'settext', LOCAL, win_kit1 + '\\notes.txt', 'settext', REMOTE, '/tmp/notes.txt')
        s.send(scripted)
        wait_until(lambda: os.path.exists(os.path.join(scripted_root, 'tmp', 'notes.txt')) and
                   open(os.path.join(scripted_root, 'tmp', 'notes.txt'), 'rb').read() == b'just notes\r\n',
                   'notes.txt on the server')
        wait_until(lambda: 'Transfer Complete' in s.log(), 'the transfer line')
        time.sleep(2)
        assert s.client.poll() is None and len(recorded(kit1)) == 3, recorded(kit1)
        s.exit_client()
        print('recorded command lines: tar, uncompress;tar, the default .tar.Z without a program; notes.txt '
              'started nothing')

        # ---- no association: "Tolvi not found" with the steps.
        s.associate(None)
        s.install(kit1)
        s.send(scripted)
        s.answer('Tolvi', IDOK, 'Tolvi not found.  You need to:\n\n- Login as tolvi to UNIX')
        time.sleep(1)
        assert s.client.poll() is None
        s.exit_client()
        # ---- a program that cannot be started: the WinExec error.
        s.associate('"%s" "%%1"' % s.windows_path('kit1\\gone.exe'))
        s.install(kit1)
        s.send(scripted)
        s.answer('Tolvi', IDOK, 'Will now:')
        s.answer('Tolvi', IDOK, 'Cannot start Tolvi,\nWinExec() error: ')
        s.exit_client()
        print('no association: "Tolvi not found"; a missing program: the WinExec error')

        real_tolvi(s, bin_dir, scripted, pkg)
    finally:
        s.reg('delete', 'HKCR\\' + CLASS, '/f')
        if old_class:
            s.reg('add', 'HKCR\\.wcf', '/ve', '/d', old_class.group(1), '/f')
        else:
            s.reg('delete', 'HKCR\\.wcf', '/f')
        s.stop()
    print('PASS')


def real_tolvi(s, bin_dir, scripted, pkg):
    """Tolvi.exe starts on the kit's install.wcf and logs on to the test's telnetd with the user
    and password of the dialog."""
    # The host takes the dialog's password and starts a shell for it.
    port = s.telnetd(e2e.logon_host().replace("'s3cret'", "'secret'"))
    wcf = ('[Tolvi]\r\nVersion=4.5.6.3\r\nAutonameFiles=No\r\nPromptForHost=No\r\nTelnetPort=%d\r\n'
           'AutoLogin=Yes\r\nAutoLoginCR=Yes\r\nAutoHost1="ogin:"\r\nAutoHost2="ord:"\r\n' % port).encode()
    kit3 = s.kit('kit3', {'pkg.tar': pkg, 'install.wcf': wcf})
    s.associate('"%s" "%%1"' % e2e.windows_name(os.path.join(bin_dir, 'Tolvi.exe')))
    # The FTP port comes from the port override, so that the host is the same for both programs.
    ftp_port = int(scripted.rsplit(':', 1)[1])
    s.reg('add', 'HKLM\\Software\\Medrix\\FTP', '/v', 'Option1', '/t', 'REG_DWORD', '/d', str(ftp_port), '/f')
    try:
        s.install(kit3)
        s.send('127.0.0.1')
        s.answer('Tolvi', IDOK, 'Will now:')
        s.ended()
        report = wait_until(lambda: s.read('report.txt').decode('latin-1').strip(), 'Tolvi to log on to telnetd')
        assert report == 'user=[tolvi] pass=[secret]', report
        time.sleep(2)
        shot = s.screenshot('tolviftp_install_tolvi')
        print('screenshot: ' + shot)
    finally:
        s.reg('delete', 'HKLM\\Software\\Medrix\\FTP', '/f')
        stop_started_tolvi(s)
    print('Tolvi.exe started on install.wcf and logged on to telnetd: %s' % report)


def stop_started_tolvi(s):
    """Tolvi.exe was started by TolviFTP, not by the test: it is ended by the id tasklist gives it."""
    out = subprocess.run([s.wine_run, 'tasklist'], capture_output=True).stdout.decode(errors='replace')
    for line in out.splitlines():
        fields = line.split()
        if len(fields) > 1 and fields[0].lower() == 'tolvi.exe' and fields[1].isdigit():
            subprocess.run([s.wine_run, 'taskkill', '/PID', fields[1], '/F'], capture_output=True)


if __name__ == '__main__':
    try:
        main()
    except (Fail, AssertionError) as failure:
        print('FAIL: %s' % failure)
        sys.exit(1)
