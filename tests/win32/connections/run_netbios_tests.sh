#!/usr/bin/env bash
# Runs the NetBIOS test program and its session-service host in a private network namespace:
# a veth pair with 10.99.0.1 and 10.99.0.2, the host on 10.99.0.2:139. Wine's sockets belong to
# its server, so the prefix's wineserver is stopped and a fresh one runs inside the namespace
# for the test and is stopped after it. Arguments: the test program, the project root.
set -u
exe=$1
root=$2
source "$root/scripts/wine-env"
dir=$(mktemp -d /tmp/tolvi-netbios.XXXXXX)
trap 'rm -rf "$dir"' EXIT

"$WINESERVER" -k >/dev/null 2>&1
"$WINESERVER" -w >/dev/null 2>&1

export TOLVI_NETBIOS_DIR=$dir TOLVI_NETBIOS_HOST=10.99.0.2 TOLVI_EXE=$exe TOLVI_ROOT=$root
unshare -n bash -c '
  set -u
  ip link set lo up
  ip link add tolvi0 type veth peer name tolvi1 || exit 1
  ip addr add 10.99.0.1/24 dev tolvi0
  ip addr add 10.99.0.2/24 dev tolvi1
  ip link set tolvi0 up
  ip link set tolvi1 up
  python3 "$TOLVI_ROOT/tests/peers/netbios_host.py" 10.99.0.2 "$TOLVI_NETBIOS_DIR" &
  host=$!
  for i in $(seq 1 100); do [[ -e $TOLVI_NETBIOS_DIR/listening ]] && break; sleep 0.05; done
  "$WINE64" "$TOLVI_EXE"
  rc=$?
  "$WINESERVER" -k >/dev/null 2>&1
  "$WINESERVER" -w >/dev/null 2>&1
  kill $host 2>/dev/null
  wait $host 2>/dev/null
  exit $rc
'
