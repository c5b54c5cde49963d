"""TolviFTP.exe's connection rules against real servers (run by with_ftp_servers, which starts
vsftpd and the scripted pyftpdlib server on loopback and exports their folders):

- the port override: with HKLM\\Software\\Medrix\\FTP Option1 a REG_SZ, the value is ignored and
  the profile's [Medrix] option1 is not read either, so a site without a port reaches port 21;
  as a REG_DWORD it names the port the site "127.0.0.1" reaches, ahead of the profile value;
- Exit while a transfer runs cancels only the transfer: the window stays and answers;
- General settings OK writes every [TolviFTP] key with the values shown, the view takes them (the
  dialog opened again shows them) and a new log file name is created anew;
- in limited mode Connect opens Login Settings (dialog 112), whose Connect logs on once and leaves
  TOLVIFTP.INI as it was;
- without the registry key the profile's option1 names the port; Exit while the log-on waits for
  a server there that accepts and never greets closes the window.

Arguments: the folder of TolviFTP.exe and the project root."""
import os
import socket
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'e2e'))
import e2e  # noqa: E402
from e2e import Fail, wait_until  # noqa: E402
from sites_test import (CONNECT_BUTTON, EXIT, GENERAL_SETTINGS, HOST, IDYES, LCD, LOCAL_SEND, NEW,  # noqa: E402
                        PASSWORD, SAVE, SITE_NAME, SITE_SETTINGS, USER, SitesSession)
from window_test import names  # noqa: E402

OVERRIDE_KEY = r'HKLM\Software\Medrix\FTP'
# Every check box of General settings with its key, and the text fields.
GEN_FLAGS = {148: 'EnableLog', 149: 'Verbose', 150: 'Confirm', 151: 'Retain', 152: 'AutoDelete', 153: 'AutoName',
             154: 'Debug', 156: 'WarningIfZeroLength', 157: 'AutoSizeWindow', 158: 'AppendMode', 159: 'AvoidZero'}
GEN_EMAIL, GEN_TEMP_DIR, GEN_LOG_FILE = 155, 146, 147


class ConnectSession(SitesSession):
    def launch(self, *args):
        """Starts TolviFTP.exe with a command line (a script) of `args`."""
        self.client = self.start([self.wine_run, os.path.join(self.bin, 'TolviFTP.exe')] + list(args),
                                 cwd=self.path('work'), log='tolviftp.log.out')
        wait_until(lambda: e2e.xdotool_out('search', '--onlyvisible', '--name', r'Tolvi - FTP Client$'),
                   "TolviFTP's window")
        return wait_until(self.state, 'the lists to be read')

    def reg(self, *args):
        subprocess.run([self.wine_run, 'reg'] + list(args), capture_output=True, check=True)

    def forget_override(self):
        subprocess.run([self.wine_run, 'reg', 'delete', r'HKLM\Software\Medrix', '/f'], capture_output=True)

    def write_ini(self, text):
        with open(self.ini_path(), 'w', newline='') as f:
            f.write(text if '\r\n' in text else text.replace('\n', '\r\n'))

    def general_checks(self):
        """The check boxes of the open General settings dialog: {key: '1' or '0'}."""
        commands = []
        for cid in GEN_FLAGS:
            commands += ['checked', cid]
        return dict(zip(GEN_FLAGS.values(), self.dlg('General settings', *commands)))

    def section(self, name):
        """The keys of one section of TOLVIFTP.INI, in file order."""
        keys, inside = {}, False
        for line in self.ini().split('\r\n'):
            if line.startswith('['):
                inside = line.strip() == '[%s]' % name
            elif inside and '=' in line:
                key, value = line.split('=', 1)
                keys[key] = value
        return keys

    def connect_new_site(self, name, host, user='tolvi', password='secret', new=True):
        """Fills in a site in Site Settings (a new one unless `new` is false) and presses Connect."""
        if new:
            self.dlg('Site Settings', 'click', NEW)
        self.dlg('Site Settings', 'focus', SITE_NAME, 'type', SITE_NAME, name, 'settext', HOST, host,
                 'settext', USER, user, 'settext', PASSWORD, password, 'settext', LCD, self.windows_path('work\\local'),
                 'click', SAVE, 'click', CONNECT_BUTTON, 'wait-closed')

    def close_box(self, caption):
        """Answers a message box of that caption when one comes within a few seconds."""
        subprocess.run([self.wine_run, os.path.join(self.bin, 'dlgdrive.exe'), caption, '--wait', '5000',
                        'click', '1', 'wait-closed'], capture_output=True)


def silent_listener():
    """A server that accepts connections and never says a word; returns (socket, port)."""
    server = socket.socket()
    server.bind(('127.0.0.1', 0))
    server.listen(4)
    server.settimeout(30)
    return server, server.getsockname()[1]


def main():
    bin_dir, root = sys.argv[1], sys.argv[2]
    scripted, scripted_root = os.environ['TOLVI_FTP_SCRIPTED'], os.environ['TOLVI_FTP_SCRIPTED_ROOT']
    scripted_port = int(scripted.rsplit(':', 1)[1])
    s = ConnectSession(bin_dir, root)
    silent, silent_port = silent_listener()
    waiting = None
    try:
        for d in ('work', 'work/local'):
            os.mkdir(s.path(d))
        # Sparse, 16 GiB: the transfer at loopback speed still runs when Exit comes.
        huge_size = 16 << 30
        with open(s.path('work/local/huge.bin'), 'wb') as f:
            f.truncate(huge_size)
        with open(os.path.join(scripted_root, 'there.txt'), 'wb') as f:
            f.write(b'on the server\n')
        log_path = s.windows_path('work\\tolviftp.log')
        settings = 'LogFile=%s\nEnableLog=On\nDebug=On\nAutoName=On\n' % log_path

        # ---- REG_SZ: ignored, and the profile's option1 (the server's real port) is not read.
        s.forget_override()
        s.reg('add', OVERRIDE_KEY, '/v', 'Option1', '/t', 'REG_SZ', '/d', str(scripted_port), '/f')
        s.write_ini('[TolviFTP]\n%s[Medrix]\noption1=%d\n' % (settings, scripted_port))
        s.launch()
        s.click(*s.item_centre(0))
        s.key('alt+Prior')
        s.connect_new_site('override', '127.0.0.1', new=False)
        s.wait_log(r'Doing connect\(\) to 127\.0\.0\.1, port 21 \.\.\.', 'the connection to port 21')
        s.wait_log(r'Error -?\d+ On Login: ', 'the log-on to fail')
        s.close_box('Login Failed')
        assert 'connection OK' not in s.log_text(), s.log_text()
        print('REG_SZ override: ignored, profile value not read, port 21 tried')
        s.exit_client()

        # ---- REG_DWORD: the site "127.0.0.1" reaches the server it names; the profile's 1 is not read.
        s.reg('add', OVERRIDE_KEY, '/v', 'Option1', '/t', 'REG_DWORD', '/d', str(scripted_port), '/f')
        s.write_ini(s.ini().replace('option1=%d' % scripted_port, 'option1=1'))
        s.launch()  # (the log file starts anew)
        s.click(*s.item_centre(0))
        s.key('alt+Prior')
        assert s.dlg('Site Settings', 'text', HOST) == ['127.0.0.1']
        s.dlg('Site Settings', 'click', CONNECT_BUTTON, 'wait-closed')
        s.wait_log(r'Doing connect\(\) to 127\.0\.0\.1, port %d \.\.\.' % scripted_port, 'the connection to the DWORD port')
        s.wait_state(lambda st: 'there.txt' in names(st['remote']), 'the remote list to fill')
        print('REG_DWORD override: site 127.0.0.1 reached port %d' % scripted_port)

        # ---- Exit during a transfer cancels the transfer only.
        s.focus('local')
        s.select('local', 'huge.bin')
        s.command(LOCAL_SEND)
        mark = len(s.log_text())
        s.answer('TolviFTP', IDYES, 'OK to send 1 selected files?')
        s.wait_log(r'Sending huge\.bin', 'the large transfer to start', mark)
        time.sleep(0.5)
        s.command(EXIT)
        s.wait_log(r'Error -?\d+ on send', 'the transfer to end with an error', mark)
        time.sleep(2)
        assert s.client.poll() is None, 'Exit during a transfer closed TolviFTP'
        sent = os.path.getsize(os.path.join(scripted_root, 'huge.bin'))
        assert sent < huge_size, 'the transfer was not cancelled (%d bytes sent)' % sent
        s.focus('remote')
        s.key('F5')
        s.wait_state(lambda st: 'huge.bin' in names(st['remote']), 'the window to answer after the cancelled transfer')
        print('Exit during a transfer: transfer cancelled after %d of %d bytes, window still answers'
              % (sent, huge_size))

        # ---- General settings: every key written with the values shown; the view takes them.
        s.command(GENERAL_SETTINGS)
        before = s.general_checks()
        new_log = s.windows_path('work\\renamed.log')
        commands = ['settext', GEN_EMAIL, 'me@example.org', 'settext', GEN_TEMP_DIR, s.windows_path('tmp2'),
                    'settext', GEN_LOG_FILE, new_log]
        for cid, key in GEN_FLAGS.items():
            if key != 'EnableLog':  # the log stays on, under its new name
                commands += ['click', cid]
        s.dlg('General settings', *commands)
        shown = s.general_checks()
        assert all(shown[k] != before[k] for k in shown if k != 'EnableLog'), (before, shown)
        s.dlg('General settings', 'click', 1, 'wait-closed')
        written = s.section('TolviFTP')
        want = {key: 'On' if shown[key] == '1' else 'Off' for key in GEN_FLAGS.values()}
        want.update({'Email': 'me@example.org', 'TempDir': s.windows_path('tmp2'), 'LogFile': new_log})
        for key, value in want.items():
            if written.get(key) != value:
                raise Fail('[TolviFTP] %s=%r after OK, expected %r; section: %r' % (key, written.get(key), value,
                                                                                    written))
        wait_until(lambda: os.path.exists(s.path('work/renamed.log')), 'the new log file to be created')
        s.command(GENERAL_SETTINGS)
        again = s.general_checks()
        assert again == shown, (shown, again)
        assert s.dlg('General settings', 'text', GEN_LOG_FILE, 'text', GEN_EMAIL) == [new_log, 'me@example.org']
        s.dlg('General settings', 'click', 2, 'wait-closed')
        print('General settings: %d keys written as shown, taken by the view, new log file created' % len(want))
        s.exit_client()

        # ---- In limited mode (the command-line script "limited") Connect opens Login Settings,
        # whose Connect logs on once and leaves the site list alone.
        sites_before = s.ini()
        s.launch('limited')
        s.click(*s.item_centre(0))
        s.key('alt+Prior')
        s.dlg('Login Settings', 'settext', HOST, '127.0.0.1', 'settext', USER, 'tolvi', 'settext', PASSWORD, 'secret')
        shot = s.screenshot('tolviftp_login_settings')
        print('screenshot: ' + shot)
        s.dlg('Login Settings', 'click', CONNECT_BUTTON, 'wait-closed')
        s.wait_state(lambda st: 'there.txt' in names(st['remote']), 'the remote list after Login Settings')
        time.sleep(2)
        connects = s.read('work/renamed.log').decode('latin-1').count('Connecting to: 127.0.0.1')
        assert connects == 1, 'Login Settings connected %d times' % connects
        assert s.ini() == sites_before, 'Login Settings changed TOLVIFTP.INI'
        print('Login Settings: one log-on, the site list untouched')
        s.exit_client()

        # ---- Without the registry key the profile's option1 names the port: a silent server there,
        # and Exit while the log-on waits for its greeting closes the window.
        s.forget_override()
        s.write_ini(s.ini().replace('option1=1\r\n', 'option1=%d\r\n' % silent_port))
        s.launch()
        s.click(*s.item_centre(0))
        s.command(SITE_SETTINGS)
        s.connect_new_site('silent', '127.0.0.1', new=True)
        try:
            waiting, _ = silent.accept()  # kept open (and silent) until the end
        except socket.timeout:
            raise Fail('the log-on never reached the silent server on the profile\'s port')
        time.sleep(0.5)
        assert s.client.poll() is None, 'TolviFTP ended before Exit'
        started = time.monotonic()
        s.command(EXIT)
        try:
            s.client.wait(timeout=30)
        except subprocess.TimeoutExpired:
            raise Fail('Exit while the log-on waited left TolviFTP running (screenshot %s)'
                       % s.screenshot('tolviftp_exit_logon'))
        s.processes.remove(s.client)
        print('Exit while the log-on waited: TolviFTP closed after %.1f s' % (time.monotonic() - started))
    finally:
        if waiting:
            waiting.close()
        silent.close()
        s.forget_override()
        s.stop()
    print('PASS')


if __name__ == '__main__':
    try:
        main()
    except (Fail, AssertionError) as failure:
        print('FAIL: %s' % failure)
        sys.exit(1)
