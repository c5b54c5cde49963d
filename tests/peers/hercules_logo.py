#!/usr/bin/env python3
"""The mainframe emulator's console logo, as s3270 and as our engine show it.

Starts hercules on loopback with a 3270 console device and no operating system, puts a relay
between it and s3270 that keeps every byte the emulator sends, and reads s3270's buffer. The kept
bytes are then played through our Telnet engine and record layer (tn3270_replay). Both buffers
must be equal and show the logo. hercules is stopped by its process id.

  hercules_logo.py TN3270_REPLAY
"""

import os
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from s3270_differential import compare_screens, run_ours, run_s3270  # noqa: E402

CONFIG = """CPUSERIAL 000611
CPUMODEL  3090
MAINSIZE  16
NUMCPU    1
ARCHMODE  S/370
CNSLPORT  127.0.0.1:%d
0009 3215
0700 3270
"""


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for_port(port, process, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        if process.poll() is not None:
            raise RuntimeError("hercules ended early")
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=0.5):
                return  # hercules takes the probe as a console that went away again
        except OSError:
            time.sleep(0.2)
    raise RuntimeError("hercules did not open its console port")


class Relay:
    """One client to the host; every byte from the host is kept."""

    def __init__(self, host_port):
        self.host_port = host_port
        self.server = socket.socket()
        self.server.bind(("127.0.0.1", 0))
        self.server.listen(1)
        self.port = self.server.getsockname()[1]
        self.from_host = bytearray()
        self.thread = threading.Thread(target=self.run, daemon=True)
        self.thread.start()

    def run(self):
        self.server.settimeout(30)
        client, _ = self.server.accept()
        host = socket.create_connection(("127.0.0.1", self.host_port), timeout=30)
        threading.Thread(target=self.pipe, args=(client, host, None), daemon=True).start()
        self.pipe(host, client, self.from_host)

    @staticmethod
    def pipe(source, sink, keep):
        try:
            while True:
                chunk = source.recv(65536)
                if not chunk:
                    break
                if keep is not None:
                    keep += chunk
                sink.sendall(chunk)
        except OSError:
            pass
        for s in (source, sink):
            try:
                s.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    for program in ("hercules", "s3270"):
        if not shutil.which(program):
            print("%s is not installed" % program, file=sys.stderr)
            return 1
    replay = sys.argv[1]
    with tempfile.TemporaryDirectory(prefix="hercules") as workdir:
        port = free_port()
        with open(os.path.join(workdir, "hercules.cnf"), "w") as f:
            f.write(CONFIG % port)
        out = open(os.path.join(workdir, "hercules.out"), "w")
        hercules = subprocess.Popen(["hercules", "-d", "-f", "hercules.cnf"], cwd=workdir, stdin=subprocess.DEVNULL,
                                    stdout=out, stderr=subprocess.STDOUT)
        try:
            wait_for_port(port, hercules)
            time.sleep(0.5)
            relay = Relay(port)
            ref_rows, ref_cursor = run_s3270(relay.port, [], 2, settle=2)
            sent = os.path.join(workdir, "logo.sent")
            with open(sent, "wb") as f:
                f.write(bytes(relay.from_host))
        finally:
            hercules.terminate()
            try:
                hercules.wait(timeout=15)
            except subprocess.TimeoutExpired:
                hercules.kill()
                hercules.wait()
            out.close()
        rows, cursor, _ = run_ours(replay, sent, [], 2)
    faults = compare_screens(ref_rows, ref_cursor, rows, cursor)
    logo = " ".join(ref_rows)
    if " 48 48 48 " not in logo:  # the big H of the logo
        faults.append("s3270 shows no logo")
    print("hercules logo: %s" % ("same" if not faults else "DIFFERENT"))
    for fault in faults:
        print("  " + fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
