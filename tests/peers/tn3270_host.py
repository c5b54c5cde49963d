#!/usr/bin/env python3
"""A small tn3270 host for the tests, on loopback only.

It accepts one client, negotiates TERMINAL-TYPE, END-OF-RECORD and BINARY in both directions, then
plays a script: host records are sent with IAC doubling and IAC EOR, and every record the client
sends back is logged, one hex line per record.

Script lines (the record notation of tools/feed3270):
  F5 C3 11 40 40 'TEXT' 1D F0   a record to send: hex pairs, quoted text in EBCDIC (code page 037)
  wait [SECONDS]                wait for the next record from the client (default 10 s)
  sleep SECONDS                 pause
  # ...                         comment; blank lines are skipped
The terminal type the client announced is logged first as "type IBM-3278-2".

  tn3270_host.py [--port N] [--port-file FILE] --script FILE [--log FILE] [--sent FILE]
  tn3270_host.py --self-test
With --port 0 (the default) a free port is chosen; it is printed and written to --port-file.
--sent keeps every byte sent to the client (negotiation included), to be replayed elsewhere.
"""

import argparse
import socket
import sys
import threading
import time

IAC, DONT, DO, WONT, WILL, SB, SE = 255, 254, 253, 252, 251, 250, 240
EOR_MARK = 239
OPT_BINARY, OPT_TTYPE, OPT_EOR = 0, 24, 25
TTYPE_IS, TTYPE_SEND = 0, 1


def parse_record(text):
    """Hex pairs and quoted EBCDIC text; raises ValueError on anything else."""
    out = bytearray()
    i = 0
    while i < len(text):
        c = text[i]
        if c.isspace():
            i += 1
        elif c == "'":
            end = text.index("'", i + 1)
            out += text[i + 1:end].encode("cp037")
            i = end + 1
        else:
            out.append(int(text[i:i + 2], 16))
            i += 2
    return bytes(out)


class Telnet:
    """The host side of one connection: option replies, subnegotiations and records."""

    def __init__(self, sock, sent=None):
        self.sock = sock
        self.sent = sent  # every byte sent goes here too, when given
        self.pending = bytearray()
        self.record = bytearray()
        self.records = []
        self.replies = []  # (verb, option) received
        self.subnegotiations = []
        self.closed = False

    def send(self, data):
        self.sock.sendall(data)
        if self.sent is not None:
            self.sent.write(data)
            self.sent.flush()

    def send_command(self, verb, option):
        self.send(bytes([IAC, verb, option]))

    def send_record(self, data):
        self.send(data.replace(b"\xff", b"\xff\xff") + bytes([IAC, EOR_MARK]))

    def pump(self, timeout):
        """Reads what arrives within timeout; returns False when the client closed."""
        self.sock.settimeout(timeout)
        try:
            chunk = self.sock.recv(65536)
        except socket.timeout:
            return True
        if not chunk:
            self.closed = True
            return False
        self.pending += chunk
        self._parse()
        return True

    def _parse(self):
        p = self.pending
        i = 0
        while i < len(p):
            b = p[i]
            if b != IAC:
                self.record.append(b)
                i += 1
                continue
            if i + 1 >= len(p):
                break
            verb = p[i + 1]
            if verb == IAC:
                self.record.append(IAC)
                i += 2
            elif verb == EOR_MARK:
                self.records.append(bytes(self.record))
                self.record.clear()
                i += 2
            elif verb in (DO, DONT, WILL, WONT):
                if i + 2 >= len(p):
                    break
                self.replies.append((verb, p[i + 2]))
                i += 3
            elif verb == SB:
                end = p.find(bytes([IAC, SE]), i + 2)
                if end < 0:
                    break
                self.subnegotiations.append(bytes(p[i + 2:end]))
                i = end + 2
            else:
                i += 2
        del p[:i]

    def wait_for(self, predicate, timeout):
        deadline = time.monotonic() + timeout
        while not predicate():
            left = deadline - time.monotonic()
            if left <= 0 or self.closed:
                return False
            self.pump(min(left, 0.2))
        return True

    def negotiate(self, timeout=10):
        """TERMINAL-TYPE first, then EOR and BINARY both ways. Returns the terminal type."""
        self.send_command(DO, OPT_TTYPE)
        if not self.wait_for(lambda: (WILL, OPT_TTYPE) in self.replies, timeout):
            raise RuntimeError("client did not agree to TERMINAL-TYPE")
        self.send(bytes([IAC, SB, OPT_TTYPE, TTYPE_SEND, IAC, SE]))
        if not self.wait_for(lambda: any(s[:2] == bytes([OPT_TTYPE, TTYPE_IS]) for s in self.subnegotiations),
                             timeout):
            raise RuntimeError("client sent no terminal type")
        ttype = next(s for s in self.subnegotiations if s[:2] == bytes([OPT_TTYPE, TTYPE_IS]))[2:].decode("ascii")
        for option in (OPT_EOR, OPT_BINARY):
            self.send_command(DO, option)
            self.send_command(WILL, option)
        wanted = [(WILL, OPT_EOR), (DO, OPT_EOR), (WILL, OPT_BINARY), (DO, OPT_BINARY)]
        if not self.wait_for(lambda: all(w in self.replies for w in wanted), timeout):
            raise RuntimeError("client refused EOR or BINARY: %r" % self.replies)
        return ttype


def run_script(conn, lines, log):
    ttype = conn.negotiate()
    log.write("type %s\n" % ttype)
    log.flush()
    logged = 0
    for number, raw in enumerate(lines, 1):
        line = raw.strip()
        if not line or line.startswith("#"):
            continue
        words = line.split()
        if words[0] == "wait":
            timeout = float(words[1]) if len(words) > 1 else 10.0
            want = logged + 1
            if not conn.wait_for(lambda: len(conn.records) >= want, timeout):
                raise RuntimeError("line %d: no record from the client" % number)
        elif words[0] == "sleep":
            time.sleep(float(words[1]))
            conn.pump(0.01)
        else:
            conn.send_record(parse_record(line))
        for record in conn.records[logged:]:
            log.write(" ".join("%02X" % b for b in record) + "\n")
            log.flush()
        logged = len(conn.records)
    # Records that arrive while the client finishes.
    conn.wait_for(lambda: False, 0.3)
    for record in conn.records[logged:]:
        log.write(" ".join("%02X" % b for b in record) + "\n")
    log.flush()


def serve(port, lines, log, port_file=None, ready=None, sent=None):
    server = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    server.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    server.bind(("127.0.0.1", port))
    server.listen(1)
    port = server.getsockname()[1]
    if port_file:
        with open(port_file, "w") as f:
            f.write("%d\n" % port)
    if ready:
        ready(port)
    else:
        print(port, flush=True)
    server.settimeout(60)
    sock, _ = server.accept()
    server.close()
    try:
        run_script(Telnet(sock, sent), lines, log)
    finally:
        sock.close()


def self_test():
    """A scripted client against the host: negotiation, a record each way, IAC doubling."""
    import io
    log = io.StringIO()
    script = ["F5 C3 11 40 40 'HI' FF", "wait 5"]
    ports = []
    ready = threading.Event()
    errors = []

    def host():
        try:
            serve(0, script, log, ready=lambda p: (ports.append(p), ready.set()))
        except Exception as e:  # reported by the main thread
            errors.append(e)
            ready.set()

    thread = threading.Thread(target=host)
    thread.start()
    ready.wait(10)
    client = socket.create_connection(("127.0.0.1", ports[0]), timeout=10)
    conn = Telnet(client)
    # Agree to everything the host asks, answer the terminal type, then echo one record.
    answered = set()
    deadline = time.monotonic() + 10
    while not conn.records and time.monotonic() < deadline:
        conn.pump(0.2)
        for verb, option in conn.replies:
            if (verb, option) in answered:
                continue
            answered.add((verb, option))
            conn.send_command(WILL if verb == DO else DO, option)
        for s in conn.subnegotiations:
            if s == bytes([OPT_TTYPE, TTYPE_SEND]):
                client.sendall(bytes([IAC, SB, OPT_TTYPE, TTYPE_IS]) + b"IBM-3278-2" + bytes([IAC, SE]))
        conn.subnegotiations.clear()
    assert conn.records == [b"\xf5\xc3\x11\x40\x40\xc8\xc9\xff"], conn.records
    conn.send_record(b"\x7d\x40\x40\xff")
    thread.join(10)
    client.close()
    if errors:
        raise errors[0]
    assert log.getvalue() == "type IBM-3278-2\n7D 40 40 FF\n", log.getvalue()
    print("tn3270_host self-test passed")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--port-file")
    parser.add_argument("--script")
    parser.add_argument("--log")
    parser.add_argument("--sent")
    parser.add_argument("--self-test", action="store_true")
    args = parser.parse_args()
    if args.self_test:
        self_test()
        return 0
    if not args.script:
        parser.error("--script is needed")
    with open(args.script) as f:
        lines = f.readlines()
    log = open(args.log, "w") if args.log else sys.stdout
    sent = open(args.sent, "wb") if args.sent else None
    try:
        serve(args.port, lines, log, args.port_file, sent=sent)
    except Exception as e:
        print("tn3270_host: %s" % e, file=sys.stderr)
        return 1
    finally:
        if log is not sys.stdout:
            log.close()
        if sent:
            sent.close()
    return 0


if __name__ == "__main__":
    sys.exit(main())
