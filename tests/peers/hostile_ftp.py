#!/usr/bin/python3
"""A scripted FTP server that misbehaves, for the client's end-to-end tests. It listens on
127.0.0.1 only; the user name a client logs on with chooses the misbehaviour of that connection:

  normal          a plain server: LIST and RETR of the files below
  intruder        before each data connection a stranger connects from 127.0.0.2 to the
                  client's port and sends its own bytes; the stranger also tries the client's
                  port on 127.0.0.3 (an address the client's listener must not take)
  names           a listing of names that are hard on a client: a tab inside a name, characters
                  a Windows name cannot hold, "...", a 100,000-byte name, ESC sequences
  oversize        RETR announces 10 bytes and sends up to 64 MiB (image and ASCII)
  short           RETR announces 1000 bytes, sends 500 and reports success
  cut             RETR sends part of the data and closes both connections without a reply
  minus           RETR announces "(-1 bytes)" and sends the whole file
  refuse-port     PORT is refused
  close-after-150 RETR answers 150 and closes the control connection without connecting
  close-after-data RETR sends the whole file and closes the control connection without a reply
  drip-pass       the reply to PASS is a multi-line reply without end, a line every 50 ms
  flood-list      after LIST's data the final reply never ends
  code4           PASS is answered "2300 logged in" and then "530 Login incorrect."
  refuse          PASS is answered "530 Login incorrect."
  huge-list       LIST gives 100,000 entries (7 MB) and then zz.txt

A second port greets every connection with a multi-line reply without end, as fast as the link
takes it.

Every RETR name, data connection and stranger's attempt is written to the events file, one per
line ("RETR <name as repr>", "STRANGER <what>", "SENT <bytes> <name>").

Usage: hostile_ftp.py PORT_FILE EVENTS_FILE
Listens on two ports below the kernel's ephemeral range, writes them to PORT_FILE
("PORT FLOOD_PORT") and serves until it is killed.
"""
import os
import random
import socket
import sys
import threading
import time

LONG_NAME = 'n' * 100000
FILES = {
    'good.txt': b'good file\r\n' * 20,
    'zz.txt': b'last file\r\n' * 10,
    'tab\tx.txt': b'the file with a tab\r\n',
    'tab': b'NOT THIS ONE\r\n',
    'pipe|x.txt': b'pipe\r\n',
    'star*x.txt': b'star\r\n',
    '...': b'dots\r\n',
    LONG_NAME: b'long\r\n',
    'esc\x1b[31mred\x1b[0m.txt': b'escape\r\n',
    'data.bin': bytes(range(256)) * 40,
    'text.txt': b'line of text\r\n' * 100,
}
NAMES_LISTED = ['good.txt', 'zz.txt', 'tab\tx.txt', 'pipe|x.txt', 'star*x.txt', '...', LONG_NAME,
                'esc\x1b[31mred\x1b[0m.txt']
INTRUDER_BYTES = b'INJECTED BY A STRANGER\r\n'
HUGE_LIST = ['file%06d.txt' % i for i in range(100000)] + ['zz.txt']

events_lock = threading.Lock()


def event(path, text):
    with events_lock, open(path, 'a', encoding='latin-1') as f:
        f.write(text + '\n')


def listing(names):
    return ''.join('-rw-r--r--   1 ftp      ftp   %8d Jan 01  2024 %s\r\n' % (len(FILES.get(n, b'')), n)
                   for n in names).encode('latin-1')


class Connection:
    def __init__(self, sock, events, mode):
        self.sock = sock
        self.events = events
        self.mode = mode
        self.port = None
        self.buffer = b''

    # ---- the control connection

    def send(self, text):
        self.sock.sendall(text.encode('latin-1') + b'\r\n')

    def line(self):
        while b'\n' not in self.buffer:
            chunk = self.sock.recv(4096)
            if not chunk:
                return None
            self.buffer += chunk
        line, self.buffer = self.buffer.split(b'\n', 1)
        return line.rstrip(b'\r').decode('latin-1')

    def endless(self, code, pause):
        """A multi-line reply that never ends; returns when the client goes away."""
        n = 0
        try:
            while True:
                n += 1
                self.send('%d-line %d of a reply without end' % (code, n))
                if pause:
                    time.sleep(pause)
        except OSError:
            event(self.events, 'ENDLESS %d lines' % n)

    def serve(self):
        if self.mode == 'flood-greeting':
            return self.endless(220, 0)
        self.send('220 hostile test server ready')
        while True:
            line = self.line()
            if line is None:
                return
            verb, _, arg = line.partition(' ')
            verb = verb.upper()
            if verb == 'USER':
                self.mode = arg
                self.send('331 Password required')
            elif verb == 'PASS':
                if self.mode == 'drip-pass':
                    return self.endless(230, 0.05)
                if self.mode == 'code4':
                    self.send('2300 logged in')
                    self.send('530 Login incorrect.')
                elif self.mode == 'refuse':
                    self.send('530 Login incorrect.')
                else:
                    self.send('230 Logged in')
            elif verb == 'SYST':
                self.send('215 UNIX Type: L8')
            elif verb == 'HELP':
                self.send('214 Help OK.')
            elif verb in ('PWD', 'XPWD'):
                self.send('257 "/" is the current directory')
            elif verb in ('CWD', 'XCWD'):
                self.send('250 OK')
            elif verb == 'TYPE':
                self.send('200 Type set')
            elif verb == 'PORT':
                if self.mode == 'refuse-port':
                    self.send('500 PORT not understood')
                    continue
                p = [int(x) for x in arg.split(',')]
                self.port = ('%d.%d.%d.%d' % tuple(p[:4]), p[4] * 256 + p[5])
                self.send('200 PORT command successful')
            elif verb == 'LIST':
                self.list()
                if self.mode == 'flood-list':
                    return self.endless(226, 0)
            elif verb == 'RETR':
                if self.retr(arg) == 'closed':
                    return
            elif verb in ('NOOP', 'ABOR'):
                self.send('200 OK' if verb == 'NOOP' else '226 Abort OK')
            elif verb == 'QUIT':
                self.send('221 Goodbye')
                return
            else:
                self.send('502 Not implemented')

    # ---- the data connection

    def stranger(self):
        """Someone else connects to the client's data port."""
        host, port = self.port
        for source, target in (('127.0.0.3', '127.0.0.3'), ('127.0.0.2', host)):
            s = socket.socket()
            try:
                s.bind((source, 0))
                s.settimeout(5)
                s.connect((target, port))
                s.sendall(INTRUDER_BYTES)
                event(self.events, 'STRANGER %s->%s connected' % (source, target))
            except OSError as e:
                event(self.events, 'STRANGER %s->%s refused (%s)' % (source, target, e.__class__.__name__))
            finally:
                s.close()

    def connect(self):
        if self.mode == 'intruder':
            self.stranger()
        try:
            s = socket.create_connection(self.port, timeout=30)
        except OSError:
            self.send('425 Cannot open data connection')
            return None
        event(self.events, 'DATA connected')
        return s

    def list(self):
        names = {'names': NAMES_LISTED, 'huge-list': HUGE_LIST}.get(self.mode, ['good.txt', 'data.bin', 'text.txt'])
        self.send('150 Here comes the directory listing')
        data = self.connect()
        if data is None:
            return
        with data:
            data.sendall(listing(names))
        self.send('226 Directory send OK')

    def retr(self, name):
        event(self.events, 'RETR %r' % name)
        if name not in FILES:
            self.send('550 No such file')
            return
        body = FILES[name]
        mode = self.mode
        if mode == 'refuse-port' and self.port is None:
            self.send('425 Use PORT first')
            return
        if mode == 'close-after-150':
            self.send('150 Opening BINARY mode data connection for %s (%d bytes)' % (name, len(body)))
            self.sock.close()
            return 'closed'
        announced = {'oversize': 10, 'short': 1000, 'minus': -1}.get(mode, len(body))
        self.send('150 Opening data connection for %s (%d bytes)' % (name, announced))
        sent = 0
        data = self.connect()
        if data is None:
            return
        try:
            if mode == 'oversize':
                block = b'F' * 65536
                while sent < 64 << 20:
                    data.sendall(block)
                    sent += len(block)
            elif mode == 'short':
                data.sendall(body[:500])
                sent = 500
            elif mode == 'cut':
                data.sendall(body[:len(body) // 2])
                sent = len(body) // 2
            else:
                data.sendall(body)
                sent = len(body)
        except OSError:
            pass
        finally:
            data.close()
        event(self.events, 'SENT %d %r' % (sent, name))
        self.port = None
        if mode in ('cut', 'close-after-data'):
            self.sock.close()
            return 'closed'
        self.send('226 Transfer complete')


def listener():
    """A socket listening on a loopback port below the ephemeral range (where an outgoing
    connection of another test may take a port at any time)."""
    try:
        with open('/proc/sys/net/ipv4/ip_local_port_range') as f:
            low = max(int(f.read().split()[0]), 21000)
    except (OSError, ValueError, IndexError):
        low = 32768
    while True:
        server = socket.socket()
        server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        try:
            server.bind(('127.0.0.1', random.randint(20000, low - 1)))
        except OSError:
            server.close()
            continue
        server.listen(8)
        return server


def main():
    port_file, events = sys.argv[1], sys.argv[2]
    servers = [(listener(), mode) for mode in ('normal', 'flood-greeting')]

    def run(sock, mode):
        try:
            Connection(sock, events, mode).serve()
        except OSError:
            pass
        finally:
            sock.close()

    def accept(server, mode):
        while True:
            sock, _ = server.accept()
            threading.Thread(target=run, args=(sock, mode), daemon=True).start()

    for server, mode in servers:
        threading.Thread(target=accept, args=(server, mode), daemon=True).start()
    with open(port_file + '.tmp', 'w') as f:
        f.write(' '.join(str(server.getsockname()[1]) for server, _ in servers))
    os.replace(port_file + '.tmp', port_file)
    threading.Event().wait()


if __name__ == '__main__':
    main()
