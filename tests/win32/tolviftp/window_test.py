"""TolviFTP.exe end to end: started in a scratch folder with a settings file of the test's own, it
shows the local list (drive lines with the current drive marked, "[..]", directories before
files, each sorted ignoring case, sizes in groups of three digits and dates), the empty remote list
with "Not connected" in the directory bar, and the welcome line; a screenshot is kept. Then Enter
and double-click on a directory, on "[..]" and on a drive line, F5, and Tab / Ctrl+Tab typed with
xdotool, each checked through ftp_lists.exe (which reads the window from another process).
Maximised, the lists grow with the window; the bar under them is dragged with the mouse; Exit
keeps the window maximised for the next start; F1 shows the About box.

Arguments: the folder of TolviFTP.exe and the project root."""
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'e2e'))
import e2e  # noqa: E402
from e2e import Fail, wait_until, xdotool_out  # noqa: E402

WINDOW_NAME = r'Tolvi - FTP Client$'


class FtpSession(e2e.Session):
    def ini_path(self):
        prefix = os.environ.get('WINEPREFIX', os.path.join(self.root, 'build', 'win64', 'wineprefix'))
        return os.path.join(prefix, 'drive_c', 'windows', 'TOLVIFTP.INI')

    def start_client(self, settings):
        with open(self.ini_path(), 'w', newline='') as f:
            f.write('[TolviFTP]\r\n' + ''.join('%s=%s\r\n' % kv for kv in settings.items()))
        return self.restart_client()

    def restart_client(self):
        """Starts TolviFTP.exe in work/ on the settings file as it is."""
        self.client = self.start([self.wine_run, os.path.join(self.bin, 'TolviFTP.exe')], cwd=self.path('work'), log='tolviftp.log')
        wait_until(lambda: xdotool_out('search', '--onlyvisible', '--name', WINDOW_NAME), "TolviFTP's window")
        return wait_until(self.state, 'the lists to be read')

    def stop(self):
        super().stop()
        try:
            os.remove(self.ini_path())
        except OSError:
            pass

    def state(self):
        """The window as ftp_lists.exe reads it: {title, dirbar0, dirbar1, focus, local, remote}."""
        result = subprocess.run([self.wine_run, os.path.join(self.bin, 'ftp_lists.exe')], capture_output=True)
        if result.returncode != 0:
            return None
        state = {'local': [], 'remote': []}
        current = None
        for line in result.stdout.decode('utf-8').replace('\r', '').split('\n'):
            if line.startswith('  ') and current:
                state[current].append(line[2:].replace('\\t', '\t'))
            elif line.endswith(':') and line[:-1] in state:
                current = line[:-1]
            elif ': ' in line:
                key, value = line.split(': ', 1)
                state[key] = value
        return state

    def item_centre(self, index):
        out = subprocess.run([self.wine_run, os.path.join(self.bin, 'ftp_lists.exe'), 'local', str(index)],
                             capture_output=True).stdout.decode().split()
        return int(out[0]), int(out[1])

    def click(self, x, y, count=1):
        """Clicks at a point of the Windows screen (Wine's desktop window stands at the X screen's
        origin)."""
        subprocess.run(['xdotool', 'mousemove', str(x), str(y), 'click', '--repeat', str(count), '--delay', '80', '1'],
                       check=True)

    def key(self, *keys):
        subprocess.run(['xdotool', 'key', '--delay', '80'] + list(keys), check=True)

    def wait_state(self, check, what):
        last = [None]

        def ok():
            last[0] = self.state()
            return last[0] if last[0] and check(last[0]) else None
        try:
            return wait_until(ok, what, timeout=30)
        except Fail:
            shot = self.screenshot('tolviftp_failure')
            raise Fail('%s; last state: %r (screenshot %s)' % (what, last[0], shot))


def names(entries):
    return [e.split('\t')[0] for e in entries]


def box(state, key):
    """A rectangle of ftp_lists.exe's state: [left, top, right, bottom]."""
    return [int(v) for v in state[key].split()[:4]]


def height(state, key):
    r = box(state, key)
    return r[3] - r[1]


def main():
    bin_dir, root = sys.argv[1], sys.argv[2]
    s = FtpSession(bin_dir, root)
    try:
        # The client starts in work/, which holds nothing but what the test puts there.
        for d in ('work', 'work/beta', 'work/Alpha', 'work/gamma'):
            os.mkdir(s.path(d))
        s.write('work/beta/inner.txt', 'inside\n')
        s.write('work/b.txt', 'x' * 5)
        s.write('work/A.txt', 'y' * 10)
        s.write('work/c.TXT', '')
        s.write('work/a.TXT', 'zz')
        with open(s.path('work/big.dat'), 'wb') as f:
            f.truncate(1234567)
        os.utime(s.path('work/b.txt'), (0, -86400 * 400))  # before 1970: no date shown
        state = s.start_client({'TempDir': s.windows_path('tmp')})
        shot = s.screenshot('tolviftp_start')
        print('screenshot: ' + shot)

        local = state['local']
        drives = [e for e in local if e.startswith('<')]
        assert drives and local[:len(drives)] == drives, local
        assert sum(1 for d in drives if ' <==' in d.split('\t')[0]) == 1, drives
        current_drive = s.windows_path('work')[0].upper()
        assert any(d.startswith('<%s:> <==' % current_drive) for d in drives), drives
        rest = names(local[len(drives):])
        # Names that differ only in case stand side by side, in either order.
        assert rest[:5] == ['[..]', '[Alpha]', '[beta]', '[gamma]', rest[4]], rest
        assert sorted(rest[4:6]) == ['A.txt', 'a.TXT'] and rest[6:] == ['b.txt', 'big.dat', 'c.TXT'], rest
        by_name = {e.split('\t')[0]: e for e in local}
        assert re.fullmatch(r'A\.txt\t10\t\d{4}-\d\d-\d\d\t\d\d:\d\d', by_name['A.txt']), by_name['A.txt']
        assert by_name['b.txt'] == 'b.txt\t5\t\t', by_name['b.txt']
        # In groups of three digits, with the separator of the locale.
        big = by_name['big.dat']
        assert re.fullmatch(r'big\.dat\t1(?P<sep>\D+)234(?P=sep)567\t\d{4}-\d\d-\d\d\t\d\d:\d\d', big), big
        assert re.fullmatch(r'\[beta\]\t\t\d{4}-\d\d-\d\d\t\d\d:\d\d', by_name['[beta]']), by_name['[beta]']
        assert state['remote'] == [], state['remote']
        assert state['dirbar1'] == 'Not connected', state
        assert state['dirbar0'].lower() == s.windows_path('work').lower(), state
        assert os.path.isdir(s.path('tmp')), 'TempDir was not created'
        print('start: lists, directory bar and temporary folder as expected')

        # The keyboard: a click into the log gives the window the keyboard, F6 moves to the local
        # list; Home and Down select an entry (the list selects what the caret is on).
        x, y = s.item_centre(0)
        s.click(x, y + 300)
        s.wait_state(lambda st: st['focus'] == 'main', 'the main view to take the keyboard')
        s.key('F6')
        s.wait_state(lambda st: st['focus'] == 'local', 'F6 to reach the local list')

        beta = names(local).index('[beta]')
        s.key('Home', *(['Down'] * beta), 'Return')
        st = s.wait_state(lambda st: st['dirbar0'].lower().endswith('\\beta'), 'Enter on [beta] to enter it')
        assert names(st['local'])[len(drives):] == ['[..]', 'inner.txt'], st['local']
        print('Enter on a directory: entered, directory bar follows')

        # Double-click on "[..]" goes back up and keeps the drive lines.
        x, y = s.item_centre(len(drives))
        s.click(x, y, 2)
        st = s.wait_state(lambda st: st['dirbar0'].lower() == s.windows_path('work').lower(), 'double-click on [..]')
        assert len([e for e in st['local'] if e.startswith('<')]) == len(drives), st['local']
        print('double-click on [..]: back up, drive lines kept')

        # Double-click on a directory.
        x, y = s.item_centre(names(st['local']).index('[gamma]'))
        s.click(x, y, 2)
        s.wait_state(lambda st: st['dirbar0'].lower().endswith('\\gamma'), 'double-click on [gamma]')
        s.key('Home', *(['Down'] * len(drives)), 'Return')  # "[..]" by the keyboard
        st = s.wait_state(lambda st: st['dirbar0'].lower() == s.windows_path('work').lower(), 'Enter on [..]')
        print('double-click on a directory, Enter on [..]: as expected')

        # F5 shows a file that appeared since.
        s.write('work/new.txt', 'new')
        s.key('F5')
        s.wait_state(lambda st: 'new.txt' in names(st['local']), 'F5 to show new.txt')
        print('F5: refreshed')

        # Tab to the remote list, Tab back, Tab and Ctrl+Tab to the main view.
        s.key('Tab')
        s.wait_state(lambda st: st['focus'] == 'remote', 'Tab to reach the remote list')
        s.key('Tab')
        s.wait_state(lambda st: st['focus'] == 'local', 'Tab in the remote list to reach the local list')
        s.key('Tab', 'ctrl+Tab')
        s.wait_state(lambda st: st['focus'] == 'main', 'Ctrl+Tab to reach the main view')
        print('Tab and Ctrl+Tab: the panes follow')

        # Enter on a drive line changes to that drive and lists it with the drives.
        s.key('F6')
        s.wait_state(lambda st: st['focus'] == 'local', 'F6 to reach the local list again')
        other = next(i for i, d in enumerate(drives) if d.startswith('<C:>'))
        s.key('Home', *(['Down'] * other), 'Return')
        st = s.wait_state(lambda st: st['dirbar0'].upper().startswith('C:'), 'Enter on the C: drive line')
        assert any(e.startswith('<C:> <==') for e in st['local']), st['local']
        print('Enter on a drive line: changed drive, the mark follows')

        # Maximised, the lists take their share of the new height, not only the log.
        lists = start_lists = height(st, 'local_box')
        frame = height(st, 'frame')
        subprocess.run([s.wine_run, os.path.join(s.bin, 'ftp_lists.exe'), 'maximize'], check=True)
        st = s.wait_state(lambda st: st['frame'].endswith(' 1'), 'the window to be maximised')
        grown = height(st, 'frame') - frame
        assert height(st, 'local_box') >= lists + grown // 3, (lists, st)
        assert height(st, 'local_box') >= (height(st, 'local_box') + height(st, 'main_box')) * 2 // 5, st
        # The bar between the lists and the log, dragged 60 pixels down.
        lists = height(st, 'local_box')
        x = box(st, 'local_box')[0] + 40
        y = (box(st, 'local_box')[3] + box(st, 'main_box')[1]) // 2
        subprocess.run(['xdotool', 'mousemove', str(x), str(y), 'sleep', '0.3', 'mousedown', '1', 'sleep', '0.3',
                        'mousemove', str(x), str(y + 30), 'sleep', '0.3', 'mousemove', str(x), str(y + 60),
                        'sleep', '0.3', 'mouseup', '1'], check=True)
        st = s.wait_state(lambda st: abs(height(st, 'local_box') - lists - 60) <= 2, 'the dragged bar to move the lists')
        shot = s.screenshot('tolviftp_maximised')
        print('maximised: the lists grew from %d to %d pixels, the bar dragged 60 down (screenshot %s)'
              % (start_lists, lists, shot))

        # Exit keeps the window maximised for the next start.
        subprocess.run([s.wine_run, os.path.join(s.bin, 'ftp_lists.exe'), 'command', '57665'], check=True)
        s.client.wait(timeout=60)
        with open(s.ini_path(), 'rb') as f:
            assert re.search(rb'\r\nWindow=-?\d+ -?\d+ \d+ \d+ 3\r\n', f.read()), 'no maximised placement kept'
        st = s.restart_client()
        st = s.wait_state(lambda st: st['frame'].endswith(' 1'), 'the next start to be maximised')
        print('the next start is maximised again')

        # F1 shows the About box.
        x, y = box(st, 'main_box')[0] + 100, box(st, 'main_box')[3] - 40
        s.click(x, y)
        s.wait_state(lambda st: st['focus'] == 'main', 'the main view to take the keyboard')
        s.key('F1')
        about = subprocess.run([s.wine_run, os.path.join(s.bin, 'dlgdrive.exe'), 'About TolviFTP', '--wait', '30000',
                                'click', '1', 'wait-closed'], capture_output=True)
        assert about.returncode == 0, 'F1 showed no About box: %s' % about.stderr.decode(errors='replace')
        print('F1: the About box')
    finally:
        s.stop()
    print('PASS')


if __name__ == '__main__':
    try:
        main()
    except (Fail, AssertionError) as failure:
        print('FAIL: %s' % failure)
        sys.exit(1)
