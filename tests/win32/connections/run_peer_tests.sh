#!/usr/bin/env bash
# Starts the loopback peers of the WinSock tests, runs the test program under wine64 and stops
# every peer by its PID. Arguments: the test program, the project root.
set -u
exe=$1
root=$2
dir=$(mktemp -d /tmp/tolvi-peers.XXXXXX)
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  rm -rf "$dir"
}
trap cleanup EXIT

# A port nobody listens on and no other peer of this run was given.
taken=" "
# free_port NAME: exports NAME with such a port.
free_port() {
  local port
  while :; do
    port=$((20000 + RANDOM % 40000))
    [[ $taken == *" $port "* ]] && continue
    ss -ltn "sport = :$port" | grep -q LISTEN && continue
    taken+="$port "
    export "$1=$port"
    return
  done
}

wait_listening() {
  local port=$1 i
  for i in $(seq 1 100); do
    ss -ltn "sport = :$port" | grep -q LISTEN && return 0
    sleep 0.05
  done
  echo "peer on port $port did not start" >&2
  return 1
}

# peer PORT [LISTEN-OPTIONS] ADDRESS: one connection to 127.0.0.1:PORT handled by socat's second
# address.
peer() {
  local port=$1 options=""
  shift
  if (($# > 1)); then options=",$1"; shift; fi
  socat "TCP-LISTEN:$port,bind=127.0.0.1,reuseaddr$options" "$@" 2>>"$dir/socat.log" &
  pids+=($!)
  wait_listening "$port"
}

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
