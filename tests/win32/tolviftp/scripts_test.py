"""TolviFTP's scripts end to end (run by with_ftp_servers: vsftpd and the scripted pyftpdlib
server on loopback). TolviFTP.exe is started with a script file, with a one-line command line and
with a script path holding blanks, and ends by itself; every file is compared byte for byte and
the script's log file is read. Then: `call` into a second script and back, `run`, a missing called
script; `wait` with the title counting down and a second Run that stops it; the masked password
prompt of password=[]; Abort during a script's large transfer and during a `loop`; Check in the
script editor (dialog 106) of a script that calls another, with nothing connecting to the host;
"Encrypt passwords" saving a scrambled password that then logs on; `limited` turning Scripts into a
file dialog (the greyed menu items are read in the window's own test, as Wine keeps menus to their
process); a site's script after Connect. With the Swedish country code, Run without a script logs
the Swedish open error and `wait` counts down in the Swedish title, until Abort stops it from the
remote list.

Dialogs are driven by control id with dlgdrive.exe, menu commands posted with ftp_lists.exe.
Arguments: the folder of TolviFTP.exe and the project root."""
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
TEXT, NEW, OPEN, SAVE, CHECK, RUN, SAVE_AS, ENCRYPT = 109, 110, 111, 112, 113, 114, 115, 116
KEYIN_VALUE = 110
SITE_SETTINGS, SITE_NAME, HOST, USER, PASSWORD, SITE_SCRIPT, SITE_SAVE, CONNECT_BUTTON = \
    32789, 136, 101, 102, 103, 109, 112, 122
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

    def settings(self, **values):
        with open(self.ini_path(), 'w', newline='') as f:
            f.write('[TolviFTP]\r\nTempDir=%s\r\n' % self.windows_path('tmp') +
                    ''.join('%s=%s\r\n' % kv for kv in values.items()))

    def choose_file(self, caption, path):
        """Answers a common open dialog with `path` (the name box is edt1 in Wine, cmb13 in
        Windows)."""
        for box in (1152, FILE_NAME):
            result = subprocess.run([self.wine_run, os.path.join(self.bin, 'dlgdrive.exe'), caption, '--wait', '30000',
                                     'settext', str(box), path], capture_output=True)
            if result.returncode == 0:
                break
        else:
            shot = self.screenshot('scripts_file_dialog')
            raise Fail('no file name box in %r (screenshot %s)' % (caption, shot))
        self.dlg(caption, 'click', 1, 'wait-closed')



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

        # ---- wait=10 pauses with the title counting down, goes on; a second Run stops the run.
        # Both waits outlast the steps that watch them on a busy machine (a minute passed there
        # before Run).
        s.write('work/wait.ftp', 'logfile="%s"\r\nhost=waithost\r\nwait=10\r\ncheckcasemask after.txt *.txt\r\n'
                'wait=600\r\ncheckcasemask never *\r\n' % log)
        s.run_client('wait.ftp')
        s.wait_window()
        wait_until(lambda: re.match(r'Waiting: [1-8] seconds \.\.\. - ', s.title()), 'the title to count down')
        shot = s.screenshot('tolviftp_script_waiting')
        print('screenshot: ' + shot)
        s.wait_log(r'file: after\.txt - mask: \*\.txt = TRUE', 'the script to go on after the wait')
        s.wait_log(r'Info: Waiting 600 seconds', 'the second wait')
        s.command(SCRIPTS)
        editor = 'Edit Script: ' + s.windows_path('work\\wait.ftp')
        assert s.dlg(editor, 'text', TEXT)[0].startswith('logfile='), 'the editor did not load the running script'
        shot = s.screenshot('tolviftp_script_editor')
        print('screenshot: ' + shot)
        s.dlg(editor, 'click', RUN, 'wait-closed')
        s.wait_log(r'Info: Script closed: .*wait\.ftp', 'Run while waiting to stop the script')
        wait_until(lambda: s.title().startswith('waithost - '), 'the title to show the host again')
        time.sleep(2)
        assert s.title().startswith('waithost - '), 'the wait timer went on: %r' % s.title()
        assert 'never' not in s.log_text()
        print('wait: counted down in the title and went on; Run while waiting stopped every script')
        s.exit_client()

        # ---- password=[]: the masked prompt, and the typed password logs on.
        s.write('work/prompt.ftp', '\r\n'.join([
            'logfile="%s"' % log, 'host=%s' % scripted, 'user=tolvi', 'password=[]', 'connect', 'close', 'exit', '']))
        s.run_client('prompt.ftp')
        assert s.dlg('Keyin:', 'text', 111, 'passwordchar', KEYIN_VALUE) == ["tolvi's Password", '42']
        shot = s.screenshot('tolviftp_script_password_prompt')
        print('screenshot: ' + shot)
        s.dlg('Keyin:', 'settext', KEYIN_VALUE, 'secret', 'click', 1, 'wait-closed')
        s.wait_end('the prompted log-on')
        s.wait_log(r'\.\.\. connection OK', 'the prompted password to log on')
        print('password=[]: masked prompt, the typed password logged on')

        # ---- Abort during a script's large transfer stops every script.
        with open(s.path('work/up/huge.bin'), 'wb') as f:
            f.truncate(16 << 30)  # sparse: still running at loopback speed when Abort comes
        s.write('work/huge.ftp', '\r\n'.join([
            'logfile="%s"' % log, 'autoname=on', 'host=%s' % scripted, 'user=tolvi', 'password=secret',
            'call send.ftp', 'checkcasemask after *', 'exit', '']))
        s.write('work/send.ftp', 'put "%s"\r\ncheckcasemask sent *\r\n' % s.windows_path('work\\up\\huge.bin'))
        s.run_client('huge.ftp')
        s.wait_window()
        s.wait_log(r'Sending huge\.bin', 'the large transfer to start')
        s.command(ABORT)
        s.wait_log(r'Abort issued', 'the abort line')
        s.wait_log(r'Info: Script closed: .*send\.ftp', 'the scripts to stop')
        time.sleep(2)
        text = s.log_text()
        assert 'file: sent' not in text and 'file: after' not in text, text[-2000:]
        assert s.client.poll() is None, 'exit ran after Abort'
        print('abort during a script\'s transfer: every script stopped')
        s.exit_client()
        os.remove(s.path('work/up/huge.bin'))

        # ---- Abort reaches a loop that never talks to the host.
        s.settings(LogFile=s.windows_path('work\\general.log'), EnableLog='On')
        s.write('work/loop.ftp', 'checkcasemask round *\r\nloop\r\n')
        s.run_client('loop.ftp')
        s.wait_window()
        wait_until(lambda: s.log_text('work/general.log').count('file: round') >= 3, 'the loop to run')
        s.focus('local')  # Abort reaches the script from a list pane too
        s.command(ABORT)
        s.wait_log(r'Info: Script closed: .*loop\.ftp', 'Abort to stop the loop', name='work/general.log')
        rounds = s.log_text('work/general.log').count('file: round')
        time.sleep(1)
        assert s.log_text('work/general.log').count('file: round') == rounds, 'the loop went on after Abort'
        print('abort during a loop without the host: stopped after %d rounds' % rounds)
        s.exit_client()

        # ---- Check in the editor: both scripts checked, errors logged, nothing connects.
        listener = Listener()
        s.write('work/check_a.ftp', '\r\n'.join([
            'host=127.0.0.1:%d' % listener.port, 'user=u', 'password=p', 'connect', 'get x.txt', 'call check_b.ftp',
            'exit', '']))
        s.write('work/check_b.ftp', 'put a.txt\r\ncd\r\n')
        s.settings(LogFile=s.windows_path('work\\general.log'), EnableLog='On')
        s.run_client()
        s.wait_window()
        s.command(SCRIPTS)
        s.dlg('Script Editor', 'postclick', OPEN)
        s.choose_file('Edit Script Filename', s.windows_path('work\\check_a.ftp'))
        editor = 'Edit Script: ' + s.windows_path('work\\check_a.ftp').lower()
        s.dlg(editor, 'click', CHECK, 'wait-closed')
        s.wait_log(r'Error in Script .*check_b\.ftp line 2: Remote path <missing>', 'the check of the called script',
                   name='work/general.log')
        text = s.log_text('work/general.log')
        assert re.search(r'Info: Script syntax test: .*check_a\.ftp', text) and \
            re.search(r'Info: Script syntax test: .*check_b\.ftp', text), text
        assert 'Connecting to' not in text, text
        listener.close()
        assert listener.accepted == 0, 'a syntax test connected to the host'
        assert s.client.poll() is None, 'the checked exit ran'
        print('Check: both scripts checked, the error logged, nothing connected')

        # ---- New, then Done with its question: Cancel keeps the editor open.
        # The script path is the script last open: the called one.
        s.command(SCRIPTS)
        editor = 'Edit Script: ' + s.windows_path('work\\check_b.ftp').lower()
        s.dlg(editor, 'click', NEW)
        s.dlg('Edit Script: <new>', 'postclick', 1)
        s.answer('TolviFTP', 2, 'Save modifications?')
        assert s.dlg('Edit Script: <new>', 'text', TEXT)[0].startswith('verbose=on'), 'the new text was lost'

        # ---- Save Script As: a save dialog, and a name typed without an ending gets ".ftp".
        s.dlg('Edit Script: <new>', 'postclick', SAVE_AS)
        button = s.dlg('Save Script As', 'text', 1)[0].replace('&', '')
        assert button == 'Save', 'the dialog button says %r' % button
        s.choose_file('Save Script As', s.windows_path('work\\saved'))
        wait_until(lambda: s.read('work/saved.ftp').startswith(b'verbose=on'), 'the script saved as saved.ftp')
        editor = 'Edit Script: ' + s.windows_path('work\\saved.ftp').lower()
        print('Save Script As: a Save button, ".ftp" added')

        # ---- Encrypt passwords: the plain value scrambled in the saved file, then Run logs on.
        scrambled_other = '?bcdefghi?'
        s.write('work/enc.ftp', '\r\n'.join([
            'logfile="%s"' % log, 'host=%s' % scripted, 'user=tolvi', 'password=[]', 'password=' + scrambled_other,
            'PASSWORD=secret', 'connect', 'close', 'exit', '']))
        s.dlg(editor, 'postclick', OPEN)
        s.choose_file('Edit Script Filename', s.windows_path('work\\enc.ftp'))
        editor = 'Edit Script: ' + s.windows_path('work\\enc.ftp').lower()
        s.dlg(editor, 'click', ENCRYPT, 'click', SAVE)
        saved = s.read('work/enc.ftp').decode('latin-1')
        assert 'secret' not in saved and re.search(r'PASSWORD=\?[a-p]{12}\?\r\n', saved), saved
        assert 'password=[]\r\n' in saved and 'password=' + scrambled_other + '\r\n' in saved, saved
        shot = s.screenshot('tolviftp_script_editor_encrypted')
        print('screenshot: ' + shot)
        s.dlg(editor, 'click', RUN, 'wait-closed')
        s.wait_end('the encrypted script')
        s.wait_log(r'\.\.\. connection OK', 'the scrambled password to log on')
        print('Encrypt passwords: plain value scrambled, [] and scrambled kept, the scrambled password logged on')

        # ---- limited: settings and Help greyed, Scripts opens a file dialog and runs the choice.
        s.settings()
        s.write('work/limited.ftp', 'logfile="%s"\r\ncheckcasemask Limited.TXT *.txt\r\nexit\r\n' % log)
        s.run_client('logfile=' + s.windows_path('work\\limited.log'), 'limited')
        s.wait_window()
        s.wait_log(r'Info: Script closed', 'the limited command line to run', name='work/limited.log')
        s.command(SCRIPTS)
        s.choose_file('Script', s.windows_path('work\\limited.ftp'))
        s.wait_end('the script chosen in limited mode')
        s.wait_log(r'file: Limited\.TXT - mask: \*\.txt = TRUE', 'the chosen script to run')
        print('limited: Scripts chose a script in a file dialog and ran it')

        # ---- a site's script runs after Connect.
        s.write('work/site.ftp', 'logfile="%s"\r\ncheckcasemask Site.TXT *.txt\r\nclose\r\n' % log)
        s.run_client()
        s.wait_window()
        s.command(SITE_SETTINGS)
        s.dlg('Site Settings', 'focus', SITE_NAME, 'type', SITE_NAME, 'scripted')
        s.dlg('Site Settings', 'settext', HOST, scripted, 'settext', USER, 'tolvi', 'settext', PASSWORD, 'secret',
              'settext', SITE_SCRIPT, 'site.ftp', 'click', SITE_SAVE, 'click', CONNECT_BUTTON, 'wait-closed')
        s.wait_log(r'file: Site\.TXT - mask: \*\.txt = TRUE', 'the site script to run after Connect')
        s.wait_log(r'Close: 127\.0\.0\.1:\d+', 'the site script to close the connection')
        print('site script: ran after Connect')
        s.exit_client()

        # ---- Swedish texts (country 46): Run without a script, then a wait stopped by Abort
        # while the remote list has the keyboard.
        subprocess.run([s.wine_run, 'reg', 'add', r'HKCU\Control Panel\International', '/v', 'iCountry', '/d', '46',
                        '/f'], capture_output=True, check=True)
        s.settings(LogFile=s.windows_path('work\\swedish.log'), EnableLog='On')
        s.run_client()
        s.wait_window()
        s.command(SCRIPTS)
        s.dlg('Script Editor', 'click', RUN, 'wait-closed')
        s.wait_log(r'Fel i skript: kan inte öppna', 'the Swedish open error of Run', name='work/swedish.log')
        s.exit_client()
        s.run_client('wait=600')
        s.wait_window()
        wait_until(lambda: re.match(r'Väntar: \d+ sekunder \.\.\. - ', s.title()), 'the Swedish wait title')
        s.focus('remote')
        s.command(ABORT)
        wait_until(lambda: not s.title().startswith('Väntar'), 'Abort to stop the wait')
        time.sleep(2)
        assert not s.title().startswith('Väntar'), 'the wait went on: %r' % s.title()
        print('Swedish: Run\'s open error and the wait title; Abort from the remote list stopped the wait')
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
