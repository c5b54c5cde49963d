"""Shared pieces of the end-to-end tests of Tolvi.exe: telnetd on a free loopback port with a
log-in script of the test's own, Tolvi.exe under wine64 recording the session, keys typed with
xdotool, and the checks of what arrived (the session recording's received bytes, rendered by
termfeed) and of what was painted (view_cells.exe reads the cells from the screen).

Every program started here is stopped by its PID when the test ends. Waits poll a condition with
a generous time-out; nothing relies on a fixed sleep alone.
"""
import atexit
import os
import random
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time


def _own_display_and_prefix():
    """Runs the test program again through scripts/wine-isolated, which gives it an Xvfb display
    and a copy of the booted Wine prefix of its own (and stops both when it ends), so that the
    end-to-end tests may run side by side: each types into and reads back its own screen, and
    what one writes into its prefix (INI files, registry, printers) no other sees."""
    if os.environ.get('TOLVI_WINE_ISOLATED') or os.path.basename(sys.argv[0]) == os.path.basename(__file__):
        return
    script = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', '..', 'scripts', 'wine-isolated')
    sys.stdout.flush()
    sys.stderr.flush()
    os.execv(script, [script, sys.executable] + sys.argv)


_own_display_and_prefix()

WAIT = 60.0
# The configuration file of every test's Tolvi, whose name the window title shows: the tests find
# their own window by it.
CONFIG_NAME = 'tolvi-e2e.wcf'
WINDOW_NAME = r'^Tolvi.*\(tolvi-e2e\.wcf\)'


class Fail(Exception):
    pass


def windows_name(path):
    """The name of a Linux file on Wine's drive Z:, which every prefix maps to the root folder."""
    return 'Z:' + os.path.abspath(path).replace('/', '\\')


def wait_until(condition, what, timeout=WAIT, every=0.2):
    """Polls condition() until it gives a true value, which is returned; Fail after timeout.
    what names the condition (a text, or a function that gives it at the time of the failure)."""
    end = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > end:
            raise Fail('timed out waiting for ' + (what() if callable(what) else what))
        time.sleep(every)


class Session:
    """A test's scratch folder, its peers and its Tolvi.exe. Arguments of the test programs:
    the folder of Tolvi.exe and the project root."""

    def __init__(self, bin_dir, root):
        self.bin = os.path.abspath(bin_dir)
        self.root = os.path.abspath(root)
        self.wine_run = os.path.join(self.root, 'scripts', 'wine-run')
        self.dir = tempfile.mkdtemp(prefix='tolvi-e2e.')
        self.processes = []
        self.stopped = False
        atexit.register(self.stop)

    # ---- files and processes

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, text, mode=0o644):
        with open(self.path(name), 'w', newline='') as f:
            f.write(text)
        os.chmod(self.path(name), mode)
        return self.path(name)

    def read(self, name):
        try:
            with open(self.path(name), 'rb') as f:
                return f.read()
        except OSError:
            return b''

    def start(self, argv, cwd=None, log=None, env=None):
        """Starts a program of the test; env holds variables added to the test's environment."""
        out = open(self.path(log), 'ab') if log else subprocess.DEVNULL
        process = subprocess.Popen(argv, cwd=cwd, stdin=subprocess.DEVNULL, stdout=out,
                                   stderr=subprocess.STDOUT, env=dict(os.environ, **env) if env else None)
        self.processes.append(process)
        return process

    def stop(self):
        if self.stopped:
            return
        self.stopped = True
        for process in reversed(self.processes):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
        for process in reversed(self.processes):
            try:
                process.wait(timeout=15)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        self.processes = []
        if os.environ.get('TOLVI_E2E_KEEP'):
            print('kept ' + self.dir)
        else:
            shutil.rmtree(self.dir, ignore_errors=True)

    def windows_path(self, name=''):
        if not getattr(self, '_windows_dir', None):
            self._windows_dir = self.winepath(self.dir)
        return self._windows_dir + ('\\' + name if name else '')

    def winepath(self, path):
        """The Windows name of a Linux path: Wine's drive Z: is the root folder (no Wine program
        needs to start for it)."""
        return windows_name(path)

    # ---- the host

    def telnetd(self, login_script, telnetd_options=(), listen_options=''):
        """Starts telnetd for one connection on a free loopback port, running login_script (the
        script's text) instead of the system's log-in; returns the port. listen_options are socat
        options of the listening socket (',rcvbuf=4096' for a host that takes little at a time)."""
        login = self.write('login.sh', login_script, 0o755)
        options = ' '.join(telnetd_options)
        wrapper = self.write('telnetd.sh', '#!/bin/sh\nexec /usr/sbin/telnetd -h -E "%s" %s\n' % (login, options),
                             0o755)
        for _ in range(5):
            port = free_port()
            socat = self.start(['socat', 'TCP-LISTEN:%d,bind=127.0.0.1,reuseaddr%s' % (port, listen_options),
                                'EXEC:%s,nofork' % wrapper], log='socat.log')
            # socat ends at once when another test took the port between the choice and its bind.
            if wait_until(lambda: listening(port) or socat.poll() is not None, 'telnetd on port %d' % port,
                          timeout=20, every=0.05) and socat.poll() is None:
                return port
        raise Fail('socat could not listen for telnetd: ' + self.read('socat.log').decode('latin1')[-500:])

    def tn3270_host(self, script):
        """Starts the loopback tn3270 host (tests/peers/tn3270_host.py) playing script (its text);
        it logs the terminal type and every record it gets into host.log. Returns its port."""
        self.write('host.script', script)
        self.start([sys.executable, os.path.join(self.root, 'tests', 'peers', 'tn3270_host.py'), '--port', '0',
                    '--port-file', self.path('host.port'), '--script', self.path('host.script'),
                    '--log', self.path('host.log')], log='host.out')
        return int(wait_until(lambda: self.read('host.port').strip(), "the tn3270 host's port", timeout=20))

    # ---- Tolvi

    def tolvi(self, config_text, *options, env=None, record=True, placement=None):
        """Starts Tolvi.exe with a configuration file of config_text, the options, and (unless
        record is false) the recording of the session into session.trc. placement holds the
        window placement to start with (see set_window_placement); none is the default window."""
        self.write(CONFIG_NAME, config_text.replace('\n', '\r\n'))
        forget_window_placement(self.root)
        if placement:
            set_window_placement(self.root, placement)
        args = [self.windows_path(CONFIG_NAME)] + list(options)
        if record:
            args.append('/record:' + self.windows_path('session.trc'))
        self.start([self.wine_run, 'Tolvi.exe'] + args, cwd=self.bin, log='tolvi.log', env=env)

    def saved_config(self):
        """The configuration file as Tolvi saved it, with the line ends a new start is given. A
        save may still be writing it: it is read until two reads a third of a second apart agree."""
        last = [None]

        def settled():
            text, last[0] = last[0], self.read(CONFIG_NAME)
            return text == last[0]
        wait_until(settled, 'the configuration file to settle', every=0.33)
        return last[0].decode('latin1').replace('\r\n', '\n')

    def keep_dialog(self, caption, name):
        """A screenshot of the dialog of that caption into build/win64/screens/NAME.png."""
        folder = os.path.join(os.path.dirname(self.bin), 'screens')
        os.makedirs(folder, exist_ok=True)
        shot = os.path.join(folder, name + '.png')
        windows = self.winepath(shot)
        subprocess.run([self.wine_run, os.path.join(self.bin, 'screengrab.exe'), windows, '--window', caption,
                        '--wait', '5000', '--delay', '500'], capture_output=True)

    def received(self):
        """The bytes received from the host so far, as the terminal got them."""
        return telnet_data(comm_bytes(self.read('session.trc').decode('latin1')))

    def wait_received(self, text, after=0, timeout=WAIT):
        """Waits for text (bytes) in the received data from position `after` on; returns the
        position after it."""
        def found():
            data = self.received()
            at = data.find(text, after)
            return at + len(text) if at >= 0 else None
        return wait_until(found, lambda: 'the host to send %r (received so far: %r)'
                          % (text, self.received()[-300:]), timeout)

    # ---- the keyboard

    def click_view(self):
        """Gives Tolvi's window the keyboard: a click into its terminal area."""
        window = wait_until(lambda: xdotool_out('search', '--onlyvisible', '--name', WINDOW_NAME), "Tolvi's window").split()[0]
        geometry = xdotool_out('getwindowgeometry', '--shell', window)
        size = dict(line.split('=') for line in geometry.split() if '=' in line)
        x = min(300, int(size.get('WIDTH', 600)) // 2)
        y = min(200, int(size.get('HEIGHT', 400)) // 2)
        subprocess.run(['xdotool', 'mousemove', '--window', window, str(x), str(y), 'click', '1'], check=True)
        # The view has the focus once it shows its caret.
        wait_until(lambda: self.view_cells((0, 0)) is not None, "the terminal view's caret", timeout=30)

    def title(self):
        """The title of Tolvi's window ('' while there is none)."""
        window = xdotool_out('search', '--onlyvisible', '--name', WINDOW_NAME).split()
        return xdotool_out('getwindowname', window[0]) if window else ''

    def type_line(self, text):
        subprocess.run(['xdotool', 'type', '--delay', '60', text], check=True)
        subprocess.run(['xdotool', 'key', 'Return'], check=True)

    # ---- the screen

    def screenshot(self, name):
        """The whole screen into build/win64/screens/NAME.png (for a look at a failure)."""
        folder = os.path.join(os.path.dirname(self.bin), 'screens')
        os.makedirs(folder, exist_ok=True)
        shot = os.path.join(folder, name + '.png')
        windows = self.winepath(shot)
        subprocess.run([self.wine_run, os.path.join(self.bin, 'screengrab.exe'), windows], capture_output=True)
        return shot

    def termfeed(self, data, emulation):
        """Our engine's screen of data: (24 rows, (cursor row, cursor col))."""
        with open(self.path('stream.bin'), 'wb') as f:
            f.write(data)
        out = subprocess.run([self.wine_run, os.path.join(self.bin, 'termfeed.exe'), '--emulation', str(emulation),
                              self.windows_path('stream.bin')], capture_output=True, check=True).stdout
        return parse_screen(out.decode('latin1'))

    def view_cells(self, cursor):
        """The painted cells: '#' drawn, '.' one colour, 'c' the cursor; None without a caret."""
        result = subprocess.run([self.wine_run, os.path.join(self.bin, 'view_cells.exe'), '--title',
                                 '(%s)' % CONFIG_NAME, str(cursor[0]), str(cursor[1])], capture_output=True)
        if result.returncode != 0:
            return None
        lines = result.stdout.decode('latin1').replace('\r', '').split('\n')
        return lines[1:25]

    def wait_painted(self, rows, cursor, timeout=WAIT):
        """Waits until every cell of the screen rows (text) is painted as it should be: a
        character other than a blank draws something, a blank is one colour."""
        rows = (list(rows) + [''] * 24)[:24]
        expected = [''.join('.' if ch == ' ' else '#' for ch in row.ljust(80)) for row in rows]
        last = [None]

        def matches():
            cells = self.view_cells(cursor)
            if cells is None:
                # No caret: the view has lost the keyboard focus; a click gives it back.
                self.click_view()
            last[0] = cells
            if not cells or len(cells) < 24:
                return False
            for r in range(24):
                for c in range(80):
                    if cells[r][c] != 'c' and cells[r][c] != expected[r][c]:
                        return False
            return True
        try:
            wait_until(matches, 'the window to show the screen', timeout, every=0.5)
        except Fail:
            raise Fail('the window does not show the screen\nexpected:\n%s\npainted:\n%s'
                       % ('\n'.join(expected), '\n'.join(last[0] or ['(no caret)'])))


# ---- helpers without a session

def logon_host(report='user=[$user] pass=[$pass]', after_report=''):
    """A log-in script: a user prompt with echo, a password prompt without, a report of what came
    (report.txt beside the script; `report` may name more shell variables), `after_report` printed,
    and a shell for the password 's3cret'."""
    return r'''#!/bin/bash
report="$(dirname "$0")/report.txt"
printf 'Welcome to the test host\r\n\r\nlogin: '
IFS= read -r user
stty -echo
printf 'Password: '
IFS= read -r pass
stty echo
printf '\r\n'
user=${user%$'\r'} pass=${pass%$'\r'}
echo "REPORT" >"$report"
printf 'AFTER'
if [[ $pass == 's3cret' ]]; then
  export PS1='tolvi$ '
  exec /bin/bash --norc --noprofile -i
fi
printf 'Login incorrect\r\n'
read -r line
'''.replace('REPORT', report).replace('AFTER', after_report)


def scrambled(text):
    """A text as the configuration file stores a password reply or the lock password."""
    n = len(text)
    out = ['"'] * (2 * n + 2)
    for i, ch in enumerate(text):
        a = (~ord(ch) ^ (i + 94)) & 0xFF
        out[2 * (n - i) - 1] = chr(ord('a') + (a >> 4))
        out[2 * (n - i)] = chr(ord('a') + (a & 15))
    return ''.join(out)


def placement_file(root):
    """The prefix's Tolvi.ini, where Tolvi keeps its window placement."""
    prefix = os.environ.get('WINEPREFIX', os.path.join(root, 'build', 'win64', 'wineprefix'))
    return os.path.join(prefix, 'drive_c', 'windows', 'Tolvi.ini')


def set_window_placement(root, values):
    """Writes a window placement for Tolvi's next start, after forget_window_placement: values
    are the keys of its [Window size] section (Show=3 maximised, ScaleFont=0 a font that keeps its
    size, ShowTolviImage=1 the logo shown)."""
    with open(placement_file(root), 'ab') as f:
        f.write(('\r\n[Window size]\r\n' + ''.join('%s=%s\r\n' % item for item in values.items())).encode('latin-1'))


def forget_window_placement(root):
    """Drops the window placement that an earlier program left in the prefix's Tolvi.ini, so that
    Tolvi opens at its default size, with room for the whole screen, whatever ran before."""
    ini = placement_file(root)
    try:
        with open(ini, 'rb') as f:
            lines = f.read().decode('latin-1').splitlines(keepends=True)
    except FileNotFoundError:
        return
    kept, skipping = [], False
    for line in lines:
        if line.strip().startswith('['):
            skipping = line.strip().lower() == '[window size]'
        if not skipping:
            kept.append(line)
    with open(ini, 'wb') as f:
        f.write(''.join(kept).encode('latin-1'))


def free_port():
    """A loopback port below the kernel's ephemeral range (an outgoing connection of another test
    can take any port of that range at any time) that can be bound now."""
    low = ephemeral_low()
    while True:
        port = random.randint(20000, low - 1)
        with socket.socket() as probe:
            probe.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
            try:
                probe.bind(('127.0.0.1', port))
            except OSError:
                continue
        return port


def ephemeral_low():
    try:
        with open('/proc/sys/net/ipv4/ip_local_port_range') as f:
            return max(int(f.read().split()[0]), 20000 + 1000)
    except (OSError, ValueError, IndexError):
        return 32768


def listening(port):
    out = subprocess.run(['ss', '-ltn', 'sport = :%d' % port], capture_output=True).stdout
    return b'LISTEN' in out


def xdotool_out(*args):
    result = subprocess.run(['xdotool'] + list(args), capture_output=True)
    return result.stdout.decode().strip() if result.returncode == 0 else ''


TOKENS = {'CR': 13, 'LF': 10, 'HT': 9, 'SP': 32, 'ESC': 27}
TAGS = ('COMM:', 'SEND:', 'KEYB:', 'EXIT:')


def comm_bytes(trace):
    """The bytes of the COMM records (received from the host) of a comm recording, in order. A
    byte is one token (a printable character, a name, or two hexadecimal digits), so the tags and
    the time header's words never stand for bytes."""
    data = bytearray()
    tokens = trace.split()
    taking = False
    i = 0
    while i < len(tokens):
        token = tokens[i]
        i += 1
        if token == 'TIME:':
            while i < len(tokens) and tokens[i] != 'BITS/S:':
                i += 1
            i += 2
            taking = False
        elif token in TAGS:
            taking = token == 'COMM:'
            if token == 'KEYB:':
                i += 2  # the key code and its colon
        elif not taking:
            continue
        elif token in TOKENS:
            data.append(TOKENS[token])
        elif len(token) == 2:
            data += bytes.fromhex(token)
        else:
            data += token.encode('latin1')
    return bytes(data)


def telnet_data(raw):
    """The terminal's data in a received Telnet stream: commands and negotiations removed, a
    doubled 255 kept once, and the NUL that follows a CR dropped."""
    out = bytearray()
    i = 0
    while i < len(raw):
        b = raw[i]
        if b == 255 and i + 1 < len(raw):
            command = raw[i + 1]
            if command == 255:
                out.append(255)
                i += 2
            elif command == 250:  # subnegotiation up to IAC SE
                end = raw.find(b'\xff\xf0', i + 2)
                i = len(raw) if end < 0 else end + 2
            elif 251 <= command <= 254:
                i += 3
            else:
                i += 2
            continue
        if b == 0 and i > 0 and raw[i - 1] == 13:
            i += 1
            continue
        out.append(b)
        i += 1
    return bytes(out)


def parse_screen(text):
    lines = text.replace('\r', '').split('\n')
    rows = [l.rstrip() for l in lines[:24]]
    cursor_line = next((l for l in lines if l.startswith('cursor ')), 'cursor 0 0').split()
    return rows, (int(cursor_line[1]), int(cursor_line[2]))


def run(test, cases=(None,)):
    """Runs test(session, [case,] extra arguments) with the arguments of the test program, once per
    case, each with a session of its own; prints PASS or the failure."""
    for case in cases:
        session = Session(sys.argv[1], sys.argv[2])
        arguments = ([case] if case is not None else []) + sys.argv[3:]
        try:
            test(session, *arguments)
        except Fail as failure:
            print('FAIL%s: %s' % (' (%s)' % case if case is not None else '', failure))
            print('screen: ' + session.screenshot(os.path.splitext(os.path.basename(sys.argv[0]))[0]))
            print(session.read('tolvi.log').decode('latin1')[-2000:])
            return 1
        finally:
            session.stop()
    print('PASS')
    return 0
