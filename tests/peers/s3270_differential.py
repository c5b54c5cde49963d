#!/usr/bin/env python3
"""Differential test of our 3270 engine against the reference client s3270.

For each case our tn3270 host (tn3270_host.py, loopback) plays a script of records to s3270, which
types the case's keys and reports its buffer (ReadBuffer(Ascii)) and cursor. The host keeps the
bytes it sent; tn3270_replay plays the same bytes through our Telnet engine and record layer and
types the same keys. The buffers (characters, field attributes with colour and highlight), the
cursor and the inbound records must be equal. Query replies (AID 88) are not compared: each client
describes itself. A graphic-escape character is shown by s3270 from the line-drawing set and by us
through the ordinary code table, so such a cell only has to hold a character on our side.

  s3270_differential.py TN3270_REPLAY [CASE ...]

With TN3270_RUNNER set (e.g. to the wine runner) tn3270_replay is started through it.
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
HOST = os.path.join(HERE, "tn3270_host.py")
CODES = [0x40, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8, 0xC9, 0x4A, 0x4B, 0x4C, 0x4D, 0x4E, 0x4F,
         0x50, 0xD1, 0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD7, 0xD8, 0xD9, 0x5A, 0x5B, 0x5C, 0x5D, 0x5E, 0x5F,
         0x60, 0x61, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F,
         0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF7, 0xF8, 0xF9, 0x7A, 0x7B, 0x7C, 0x7D, 0x7E, 0x7F]


def at(row, column, columns=80):
    """A buffer address in the 12-bit coded form, as hex."""
    a = row * columns + column
    return "%02X %02X" % (CODES[a >> 6], CODES[a & 0x3F])


def sba(row, column):
    return "11 " + at(row, column)


# name: (host script lines, s3270 actions, our keystroke strings[, model])
CASES = {
    "orders": ([
        "F5 C3 " + sba(0, 0) + " 1D 60 'NAME:' 1D 40 13 " + sba(1, 0) + " 1D F0 'HI' 29 02 C0 60 42 F2 'RED'"
        " 29 03 C0 C0 41 F2 42 F4 'REV' 1D 4C " + sba(2, 10) + " 3C " + at(2, 20) + " 5C " + sba(3, 0) +
        " 1D 60 'AB' 1D C1 'CDEF' 1D 60 " + sba(3, 5) + " 12 " + at(3, 30) + " " + sba(4, 50) + " 1D 40 " + sba(4, 70) + " 1D 40 " + sba(4, 0) +
        " 1D 40 'X' 05 'Y' 1D 60 1D 40 05 'TABBED' " + sba(4, 40) + " 1D 60 05 'T2' " + sba(5, 0) + " 2C 02 C0 F8 42 F5 " + sba(6, 0) +
        " 1D 20 'END' " + sba(1, 40) + " 3C " + at(1, 45) + " 00 " + sba(7, 79) + " 1D 60 'WRAP'",
        "sleep 3"], [], []),
    "wcc_and_commands": ([
        "F5 C3 " + sba(0, 0) + " 1D C1 'MDT' 1D 60 'PROT' 1D 40 'OPEN' 1D 60 " + sba(2, 0) + " 'ROW2' 13",
        "F1 C2 " + sba(1, 0) + " 'WRITE' 1D 40 'MORE' 1D 60",
        "6F",
        "F1 C1 " + sba(3, 0) + " 'AFTER' 11 40 40",
        "7E C3 " + sba(10, 10) + " 'ALT' 1D 60",
        "F1 C3 " + sba(11, 0) + " 1D 40 'IN' 1D 60 13",
        "sleep 3"], [], []),
    "read_commands": ([
        "F5 C3 " + sba(0, 0) + " 1D 60 'ID' 1D C1 'JOE' 1D 60 'PW' 1D 4D 'SECRET' 1D 60 'U' 1D 40 'UNTOUCHED' 1D 60 13",
        "F2", "wait 5",
        "F6", "wait 5",
        "6E", "wait 5",
        "F3 00 05 01 FF 02", "wait 5",
        "sleep 3"], [], []),
    "keys": ([
        "F5 C3 " + sba(0, 0) + " 1D 60 'USER' 1D 40 " + sba(0, 20) + " 1D 60 'PASS' 1D 4C " + sba(0, 40) +
        " 1D 60 " + sba(1, 0) + " 1D 50 " + sba(1, 10) + " 1D 60 " + sba(0, 6) + " 13",
        "wait 10",
        "sleep 3"],
        ["String(joe)", "Tab", "String(pw)", "Tab", "String(42)", "Home", "String(X)", "Enter"],
        ["joe%32tab%pw%32tab%42%32home%X%32enter%"]),
    "graphics_escape": ([
        "F5 C3 " + sba(0, 0) + " 'A' 08 C5 08 D3 'B' 08 85 1D 60 08 A2",
        "sleep 3"], [], []),
    "wcc_bits": ([
        "F5 C3 " + sba(0, 0) + " 1D C1 'ONE' 1D 41 'TWO' 1D 60 " + sba(1, 0) + " 1D 40 'X' 13",
        "F1 C1 " + sba(2, 0) + " 'RESETMDT'",
        "F1 C4 " + sba(3, 0) + " 'ALARM'",
        "F1 CA " + sba(4, 0) + " 'PRINT' 1D C1 'AGAIN'",
        "F6", "wait 5",
        "sleep 3"], [], []),
    "alternate_model5": ([
        "7E C3 " + "11 " + at(0, 120, 132) + " 1D 60 'RIGHT' 11 " + at(26, 0, 132) + " 1D 40 'BOTTOM' 1D 60"
        " 11 " + at(26, 1, 132) + " 13",
        "F2", "wait 5",
        "sleep 3"], [], [], 5),
    "clear_key": ([
        "F5 C3 " + sba(0, 0) + " 1D 60 'GONE' 1D 40 " + sba(0, 10) + " 13",
        "wait 10",
        "sleep 3"],
        ["String(abc)", "Clear"],
        ["abc%32CLEAR%"]),
    "pf_key": ([
        "F5 C3 " + sba(0, 0) + " 1D 60 'CMD' 1D C1 'KEEP' 1D 60 " + sba(1, 0) + " 1D 40 " + sba(1, 1) + " 13",
        "wait 10",
        "sleep 3"],
        ["String(go)", "PF(3)"],
        ["go%32PF3%"]),
    "short_read": ([
        "F5 C3 " + sba(0, 0) + " 1D 40 'TYPE' 1D 60 " + sba(0, 3) + " 13",
        "wait 10",
        "sleep 3"],
        ["String(x)", "PA(1)"],
        ["x%32PA1%"]),
}


def run_reference(workdir, name, script, actions, model):
    """The host with s3270: s3270's buffer lines and cursor, the host's log and sent bytes."""
    script_file = os.path.join(workdir, name + ".script")
    with open(script_file, "w") as f:
        f.write("\n".join(script) + "\n")
    port_file = os.path.join(workdir, name + ".port")
    log_file = os.path.join(workdir, name + ".log")
    sent_file = os.path.join(workdir, name + ".sent")
    host = subprocess.Popen([sys.executable, HOST, "--port", "0", "--port-file", port_file,
                             "--script", script_file, "--log", log_file, "--sent", sent_file],
                            stdout=subprocess.DEVNULL)
    try:
        deadline = time.monotonic() + 60
        while not (os.path.exists(port_file) and open(port_file).read().strip()):
            if time.monotonic() > deadline:
                raise RuntimeError("host did not start")
            time.sleep(0.05)
        port = int(open(port_file).read())
        rows, cursor = run_s3270(port, actions, model)
        host.wait(timeout=30)
    finally:
        if host.poll() is None:
            host.kill()
            host.wait()
    with open(log_file) as f:
        inbound = [l.strip() for l in f.readlines()[1:]]
    return rows, cursor, inbound, sent_file


def run_s3270(port, actions, model, settle=1):
    """s3270 connected to a host on loopback: its buffer rows (normalised) and cursor address."""
    commands = ["Connect(127.0.0.1:%d)" % port, "Wait(10,3270Mode)", "Wait(%d,Seconds)" % settle]
    commands += actions + ["Wait(1,Seconds)", "ReadBuffer(Ascii)", "Query(ScreenCurSize)", "Query(Cursor)", "Quit"]
    reference = subprocess.run(["s3270", "-model", "3279-%d" % model], input="\n".join(commands) + "\n",
                               capture_output=True, text=True, timeout=60)
    lines = [l[6:] for l in reference.stdout.splitlines() if l.startswith("data: ")]
    try:
        height, width = map(int, lines[-2].split())
        row, column = map(int, lines[-1].split())
    except (IndexError, ValueError):
        raise RuntimeError("s3270 gave no buffer:\n" + reference.stdout + reference.stderr)
    # Earlier data lines are messages of failed actions.
    return [normalise(l) for l in lines[-2 - height:-2]], row * width + column


def normalise(line):
    """A buffer row without character-attribute markers; a field's extended attributes sorted."""
    cells = []
    for t in line.lower().split():
        if t.startswith("sa("):
            continue
        if t.startswith("sf("):
            pairs = t[3:-1].split(",")
            t = "sf(" + ",".join(pairs[:1] + sorted(pairs[1:])) + ")"
        cells.append(t)
    return " ".join(cells)


def run_ours(replay, sent_file, keys, model):
    runner = os.environ.get("TN3270_RUNNER", "").split()
    out = subprocess.run(runner + [replay, "--model", str(model), "--color", sent_file] + keys, capture_output=True, text=True, timeout=60)
    if out.returncode != 0:
        raise RuntimeError("tn3270_replay failed: " + out.stderr)
    lines = out.stdout.splitlines()
    rows = [normalise(l[6:]) for l in lines if l.startswith("data: ")]
    cursor = next(int(l.split()[1]) for l in lines if l.startswith("cursor: "))
    inbound = [l[len("inbound: "):] for l in lines if l.startswith("inbound: ")]
    return rows, cursor, inbound


def compare(name, replay, workdir):
    script, actions, keys = CASES[name][:3]
    model = CASES[name][3] if len(CASES[name]) > 3 else 2
    ref_rows, ref_cursor, ref_inbound, sent = run_reference(workdir, name, script, actions, model)
    rows, cursor, inbound = run_ours(replay, sent, keys, model)
    faults = compare_screens(ref_rows, ref_cursor, rows, cursor)
    ref_records = [r for r in ref_inbound if not r.startswith("88")]
    our_records = [r for r in inbound if not r.startswith("88")]
    if ref_records != our_records:
        faults.append("inbound records\n  s3270: %s\n  ours:  %s" % (ref_records, our_records))
    return faults


def compare_screens(ref_rows, ref_cursor, rows, cursor):
    faults = []
    if len(ref_rows) != len(rows):
        faults.append("rows: s3270 %d, ours %d" % (len(ref_rows), len(rows)))
    for r, (want, got) in enumerate(zip(ref_rows, rows)):
        want, got = want.split(), got.split()
        for i, cell in enumerate(want):
            if len(cell) > 2 and not cell.startswith("sf(") and i < len(got) and got[i] != "00":
                want[i] = got[i]  # a graphic-escape character: shown differently by design
        want, got = " ".join(want), " ".join(got)
        if want != got:
            faults.append("row %d\n  s3270: %s\n  ours:  %s" % (r, want, got))
    if ref_cursor != cursor:
        faults.append("cursor s3270 %d, ours %d" % (ref_cursor, cursor))
    return faults


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    if not shutil.which("s3270"):
        print("s3270 is not installed (Debian package s3270)", file=sys.stderr)
        return 1
    replay = sys.argv[1]
    names = sys.argv[2:] or list(CASES)
    failed = 0
    with tempfile.TemporaryDirectory(prefix="s3270diff") as workdir:
        for name in names:
            faults = compare(name, replay, workdir)
            print("%s: %s" % (name, "same" if not faults else "DIFFERENT"))
            for fault in faults:
                print("  " + fault)
            failed += bool(faults)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
