#!/usr/bin/env python3
"""A Hayes-style modem on one end of a pty pair, for the serial transport's tests.

Command mode: echoes what it receives, answers AT commands with OK (ERROR for lines that are
not commands) and dials on ATD: the number decides the answer after --dial-delay seconds:
  5xx  CONNECT <speed>, written in two parts with a pause between them
  6xx  BUSY
  7xx  NO CARRIER
  8xx  nothing at all (the caller's countdown ends the attempt)
Data mode (after CONNECT): the host's --banner text, if any, follows the reply; every received
line is answered with "host:" and the line; +++ with a second of silence before and after goes
back to command mode, where ATH hangs up.
A file named "ring" in the state directory makes it send RING (and raise the ring line for a
second). The carrier line is published in <state>/carrier; when DTR drops (reported by the
modem-line fixture in <state>/dtr) the modem hangs up as one set to &D2 does.

Every received byte is logged with its time to <state>/received.log ("<seconds> <hex byte>"), so
the tests can measure guard times. The DTR line and the break state, when a modem-line fixture
reports them into <state>/dtr and <state>/break, are logged as "<seconds> DTR <0|1>" and
"<seconds> BREAK <0|1>".
"""
import argparse
import os
import select
import time


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("device")
    parser.add_argument("state")
    parser.add_argument("--dial-delay", type=float, default=0.5)
    parser.add_argument("--speed", default="9600")
    parser.add_argument("--banner", default="", help="text the host sends once a call is connected")
    args = parser.parse_args()

    fd = os.open(args.device, os.O_RDWR | os.O_NOCTTY)
    log = open(os.path.join(args.state, "received.log"), "a", buffering=1)
    start = time.monotonic()

    def now():
        return time.monotonic() - start

    def write(text):
        os.write(fd, text.encode("latin-1"))

    def set_carrier(on):
        path = os.path.join(args.state, "carrier")
        with open(path + ".new", "w") as f:
            f.write("1\n" if on else "0\n")
        os.replace(path + ".new", path)

    set_carrier(False)
    ringing_path = os.path.join(args.state, "ringing")
    ring_end = None

    mode = "command"
    line = b""
    pending_dial = None  # (time due, number)
    last_byte_time = 0.0
    plus_count = 0
    plus_end = None
    dtr_path = os.path.join(args.state, "dtr")
    dtr_seen = None
    break_path = os.path.join(args.state, "break")
    break_seen = None
    ring_path = os.path.join(args.state, "ring")

    def answer_command(command):
        nonlocal pending_dial, mode
        text = command.decode("latin-1").strip().upper()
        if not text:
            return
        if not text.startswith("AT"):
            write("\r\nERROR\r\n")
            return
        body = text[2:]
        if body.startswith("D"):
            number = "".join(c for c in body[1:] if c.isdigit())
            pending_dial = (now() + args.dial_delay, number)
            return
        if body.startswith("H"):
            mode = "command"
            set_carrier(False)
        write("\r\nOK\r\n")

    def line_change(path, seen, name, t):
        """The line's new state when the fixture reported a change (logged), else None."""
        if not os.path.exists(path):
            return None
        with open(path) as f:
            value = f.read().strip()
        if not value or value == seen:
            return None
        log.write("%.3f %s %s\n" % (t, name, value))
        return value

    while True:
        timeout = 0.05
        readable, _, _ = select.select([fd], [], [], timeout)
        t = now()
        value = line_change(dtr_path, dtr_seen, "DTR", t)
        if value:
            dtr_seen = value
            if value == "0" and mode == "data":
                mode = "command"
                pending_dial = None
                set_carrier(False)
                write("\r\nNO CARRIER\r\n")
        break_seen = line_change(break_path, break_seen, "BREAK", t) or break_seen
        if os.path.exists(ring_path):
            os.unlink(ring_path)
            open(ringing_path, "w").close()
            ring_end = t + 1.0
            write("\r\nRING\r\n")
        if ring_end is not None and t >= ring_end:
            ring_end = None
            os.unlink(ringing_path)
        if pending_dial and t >= pending_dial[0]:
            number = pending_dial[1]
            pending_dial = None
            if number.startswith("5"):
                write("\r\nCONN")
                time.sleep(0.3)
                write("ECT %s\r\n" % args.speed)
                if args.banner:
                    write(args.banner)
                mode = "data"
                set_carrier(True)
            elif number.startswith("6"):
                write("\r\nBUSY\r\n")
            elif number.startswith("7"):
                write("\r\nNO CARRIER\r\n")
        if plus_end is not None and plus_count == 3 and t - plus_end >= 1.0:
            mode = "command"
            plus_count = 0
            plus_end = None
            write("\r\nOK\r\n")
        if not readable:
            continue
        try:
            data = os.read(fd, 4096)
        except OSError:
            return
        if not data:
            return
        for byte in data:
            log.write("%.3f %02x\n" % (t, byte))
            silent_before = t - last_byte_time
            last_byte_time = t
            c = bytes([byte])
            if mode == "data":
                if c == b"+" and (plus_count > 0 or silent_before >= 1.0) and plus_count < 3:
                    plus_count += 1
                    plus_end = t if plus_count == 3 else None
                    continue
                if plus_count:
                    line += b"+" * plus_count
                    plus_count = 0
                    plus_end = None
                if c in (b"\r", b"\n"):
                    if line:
                        write("host:" + line.decode("latin-1") + "\r\n")
                    line = b""
                else:
                    line += c
                continue
            os.write(fd, c)  # command echo
            if c == b"\r":
                answer_command(line)
                line = b""
            elif c != b"\n":
                line += c


if __name__ == "__main__":
    main()
