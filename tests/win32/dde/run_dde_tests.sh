#!/usr/bin/env bash
# Runs the two-process DDE tests: a loopback Telnet peer that keeps what it receives in
# received.bin and echoes it, the DDE test host connected to it (in the background), and the
# client test program. Every process started here is stopped by its PID.
# Arguments: the test host, the client test program, the project root.
set -u
host=$1
client=$2
root=$3
dir=$(mktemp -d /tmp/tolvi-dde.XXXXXX)
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  rm -rf "$dir"
}
trap cleanup EXIT

port=""
while [[ -z $port ]]; do
  port=$((20000 + RANDOM % 12000))  # below the ephemeral range
  [[ -n $(ss -Htan "sport = :$port") ]] && port=""
done

: >"$dir/received.bin"
socat "TCP-LISTEN:$port,bind=127.0.0.1,reuseaddr" SYSTEM:"exec tee -a $dir/received.bin" \
  2>>"$dir/socat.log" &
pids+=($!)
for i in $(seq 1 100); do
  ss -ltn "sport = :$port" | grep -q LISTEN && break
  sleep 0.05
done

export TOLVI_PEER_DIR=$dir
TOLVI_DDE_HOST_PORT=$port "$root/scripts/wine-run" "$host" >"$dir/host.log" 2>&1 &
host_pid=$!
pids+=($host_pid)

"$root/scripts/wine-run" "$client"
rc=$?

# The client closes the host; give it a moment, then report what it said if it failed.
for i in $(seq 1 100); do
  kill -0 "$host_pid" 2>/dev/null || break
  sleep 0.1
done
if ((rc != 0)) && [[ -s "$dir/host.log" ]]; then
  echo "--- test host output:"
  cat "$dir/host.log"
fi
exit $rc
