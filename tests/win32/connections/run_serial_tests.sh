#!/usr/bin/env bash
# Builds the modem-line fixture, makes two pty pairs with socat, maps their ends to the Wine COM
# ports COM10 (the modem simulator) and COM11 (an echoing host), runs the test program and stops
# every peer by its PID. Arguments: the test program, the project root.
set -u
exe=$1
root=$2
dir=$(mktemp -d /tmp/tolvi-serial.XXXXXX)
source "$root/tests/win32/connections/com_port_lib.sh"

pty_pair com10 PTY,link="$dir/modem",raw,echo=0 && wait_file "$dir/modem" || exit 1
pty_pair com11 EXEC:cat,pty,raw,echo=0 || exit 1
python3 "$root/tests/peers/modem_sim.py" "$dir/modem" "$dir" --dial-delay 0.5 &
pids+=($!)
map_ports COM10=com10 COM11=com11 || exit 1

# The pty of COM10 gets modem lines from the fixture, in the test program's process only.
modem_lines com10 || exit 1
LD_PRELOAD="$dir/modem_lines.so" "$WINE64" "$exe"
