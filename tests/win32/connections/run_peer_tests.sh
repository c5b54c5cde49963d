#!/usr/bin/env bash
# Starts the loopback peers of the WinSock tests, runs the test program under wine64 and stops
# every peer by its PID. Arguments: the test program, the project root.
set -u
exe=$1
root=$2
dir=$(mktemp -d /tmp/tolvi-peers.XXXXXX)
source "$(dirname "$0")/peer_lib.sh"

# What the Telnet host reports back: the terminal, the window size and the environment (telnetd
# passes USER only to an authenticated log-in, so the script shows the other variables).
cat >"$dir/login.sh" <<'LOGIN'
#!/bin/sh
echo "TERM=$TERM"
echo "SIZE=$(stty size)"
echo "TOLVIVAR=$TOLVIVAR"
echo "DISPLAY=$DISPLAY"
echo "PRINTER=$PRINTER"
echo "END-OF-REPORT"
sleep 1
LOGIN
chmod +x "$dir/login.sh"
# telnetd runs on the accepted socket itself (nofork).
cat >"$dir/telnetd.sh" <<TELNETD
#!/bin/sh
exec /usr/sbin/telnetd -h -E "$dir/login.sh" --accept-env=TOLVIVAR --accept-env=PRINTER
TELNETD
chmod +x "$dir/telnetd.sh"

# The final output of the closing peer: no CR and no 255, so it reaches the screen unchanged.
head -c 3000000 /dev/urandom | tr -d '\r\377' | head -c 1048576 >"$dir/final.bin"

export TOLVI_PEER_DIR=$dir
free_port TOLVI_ECHO_PORT
free_port TOLVI_SLOW_PORT
free_port TOLVI_CLOSING_PORT
free_port TOLVI_TELNETD_PORT
free_port TOLVI_REFUSED_PORT
free_port TOLVI_FLOOD_PORT

peer "$TOLVI_ECHO_PORT" PIPE || exit 1
# A small receive window, so that our side's socket fills while the peer sleeps.
peer "$TOLVI_SLOW_PORT" rcvbuf=4096 SYSTEM:"sleep 8; exec cat" || exit 1
peer "$TOLVI_CLOSING_PORT" SYSTEM:"cat $dir/final.bin" || exit 1
peer "$TOLVI_FLOOD_PORT" SYSTEM:"exec yes" || exit 1
peer "$TOLVI_TELNETD_PORT" EXEC:"$dir/telnetd.sh",nofork || exit 1

"$root/scripts/wine-run" "$exe"
