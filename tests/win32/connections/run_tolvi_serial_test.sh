#!/usr/bin/env bash
# Tolvi.exe dials the modem simulator: COM70 is mapped to a pty pair whose other end is the
# simulator (it sends a banner once a call connects); the test program starts Tolvi.exe, which
# gets modem lines on that pty from the fixture. Every peer is stopped by its PID and the port
# mapping removed. Arguments: the test program, the project root.
set -u
exe=$1
root=$2
dir=$(mktemp -d /tmp/tolvi-dial.XXXXXX)
source "$root/tests/win32/connections/com_port_lib.sh"

pty_pair com70 PTY,link="$dir/modem",raw,echo=0 && wait_file "$dir/modem" || exit 1
python3 "$root/tests/peers/modem_sim.py" "$dir/modem" "$dir" --dial-delay 1.5 \
  --banner $'\r\nWelcome to the modem host\r\n' &
pids+=($!)
map_ports COM70=com70 || exit 1
modem_lines com70 || exit 1
LD_PRELOAD="$dir/modem_lines.so" "$WINE64" "$exe"
