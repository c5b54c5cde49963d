#!/usr/bin/env bash
# One file transfer between transfer_peer.exe (the driver and the transfer DLLs under wine64)
# and lrzsz or gkermit on the host side: over Telnet to a loopback telnetd whose log-in program
# is the host command, or over a Wine COM port mapped to a socat pty pair whose other end runs
# the host command. Starts and stops its peers by PID, removes its port mapping, judges the files.
#
#   transfer_case.sh CASE telnet|serial COM_NUMBER EXE_DIR
set -uo pipefail
case_name=$1
mode=$2
com=$3
exe_dir=$4
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../../scripts/wine-env"

work="$exe_dir/runs/$mode-$case_name"
rm -rf "$work"
mkdir -p "$work/ours" "$work/host"
dir=$work/peers
mkdir -p "$dir"
source "$here/../connections/peer_lib.sh"
link="$WINEPREFIX/dosdevices/com$com"
finish() {
  exec 7>&- 2>/dev/null
  cleanup
  if [[ $mode == serial ]]; then
    [[ -L "$link" && "$(readlink "$link")" == "$work/"* ]] && rm -f "$link"
    "$WINE64" reg delete 'HKLM\Software\Wine\Ports' /v "COM$com" /f >/dev/null 2>&1
  fi
}
trap finish EXIT
fail() { echo "FAIL($mode-$case_name): $*"; tail -n 20 "$work/host.log" 2>/dev/null; exit 1; }

make_file() { head -c "$2" /dev/urandom >"$1"; }
pad_copy() {  # pad_copy SRC DST BLOCK PAD_OCTAL: the last block filled with the pad byte
  cp "$1" "$2"
  local size rest
  size=$(stat -c %s "$1")
  rest=$((size % $3))
  ((rest == 0)) || head -c $(($3 - rest)) /dev/zero | tr '\0' "\\$4" >>"$2"
}
same_file() { cmp "$1" "$2" >/dev/null 2>&1 || fail "$2 differs from $1"; }
batch="a.bin empty.txt odd.dat big.bin"
make_batch() {
  make_file "$1/a.bin" 3000
  make_file "$1/empty.txt" 0
  make_file "$1/odd.dat" 1029
  make_file "$1/big.bin" 150000
}

# What each side does: the host command, our action, protocol and files. A receiving host
# program writes through cat: lrzsz, resetting its terminal as it ends, can otherwise lose its
# last answer (the ACK of the end of the transfer) on the way out.
case $case_name in
  z-auto) make_batch "$work/host"; host_cmd="sz -q $batch"; ours=(auto 5) ;;
  k-auto) make_file "$work/host/data.bin" 40000; host_cmd="gkermit -q -i -P -s data.bin"; ours=(auto 0) ;;
  z-send) make_batch "$work/ours"; host_cmd="rz -q | cat"; ours=(send 5 "$batch") ;;
  y-send) make_batch "$work/ours"; host_cmd="rb -q | cat"; ours=(send 4 "$batch") ;;
  x-send) make_file "$work/ours/data.bin" 5000; host_cmd="rx -q -c got.bin | cat"; ours=(send 3 data.bin) ;;
  k-send) make_batch "$work/ours"; host_cmd="gkermit -q -i -r | cat"; ours=(send 0 "a.bin odd.dat big.bin") ;;
  y-recv) make_batch "$work/host"; host_cmd="sb -q $batch"; ours=(recv 4 "") ;;
  x-recv) make_file "$work/host/data.bin" 5000; host_cmd="sx -q data.bin"; ours=(recv 1 got.bin) ;;
  k-recv) make_file "$work/host/data.bin" 40000; host_cmd="gkermit -q -i -P -s data.bin"; ours=(recv 0 "") ;;
  *) fail "unknown case" ;;
esac

if [[ $mode == telnet ]]; then
  # The log-in program of telnetd is the host command, run in the host folder; the session stays
  # a moment after it, so that its last answer is not lost in the hang-up.
  printf '#!/bin/sh\ncd "%s" || exit 1\n%s 2>"%s"\nsleep 5\n' "$work/host" "$host_cmd" "$work/host.log" >"$dir/login.sh"
  chmod +x "$dir/login.sh"
  printf '#!/bin/sh\nexec /usr/sbin/telnetd -h -E "%s"\n' "$dir/login.sh" >"$dir/telnetd.sh"
  chmod +x "$dir/telnetd.sh"
  free_port TOLVI_TELNETD_PORT
  peer "$TOLVI_TELNETD_PORT" EXEC:"$dir/telnetd.sh",nofork || fail "telnetd did not start"
  port=$TOLVI_TELNETD_PORT
else
  socat pty,raw,echo=0,link="$work/com" pty,raw,echo=0,link="$work/host.tty" 2>>"$dir/socat.log" &
  pids+=($!)
  for i in $(seq 1 50); do [[ -e "$work/com" && -e "$work/host.tty" ]] && break; sleep 0.1; done
  [[ -e "$work/com" ]] || fail "socat made no pty pair"
  # Held open here, so that the pair outlives the host command's last write.
  exec 7<>"$work/host.tty"
  if [[ -e "$link" || -L "$link" ]]; then
    case $(readlink "$link") in /dev/tty[SUA]*) fail "COM$com is a real serial device" ;; esac
  fi
  "$WINE64" reg add 'HKLM\Software\Wine\Ports' /v "COM$com" /d "$work/com" /f >/dev/null 2>&1
  ln -sfn "$work/com" "$link"
  (cd "$work/host" && exec timeout 200 sh -c "$host_cmd" <"$work/host.tty" >"$work/host.tty" 2>"$work/host.log") &
  host_pid=$!
  pids+=($host_pid)
  port=$com
fi

# lrzsz's X/YMODEM receivers at times drop their last ACK (see transfer_peer.cpp).
[[ $case_name == [xy]-send ]] && export TOLVI_XFER_LAST_ACK_MAY_DROP=1
(cd "$work/ours" && timeout 200 "$WINE64" "$exe_dir/transfer_peer.exe" "$mode" "$port" "${ours[@]}") \
  >"$work/ours.out" 2>"$work/ours.err"
rc=$?
cat "$work/ours.out"
((rc == 0)) || fail "our side failed ($rc)"
# The host side is given time to write its last file.
sleep 1

case $case_name in
  z-auto|y-recv) for f in $batch; do same_file "$work/host/$f" "$work/ours/$f"; done ;;
  k-auto|k-recv) same_file "$work/host/data.bin" "$work/ours/data.bin" ;;
  z-send|y-send) for f in $batch; do same_file "$work/ours/$f" "$work/host/$f"; done ;;
  k-send) for f in a.bin odd.dat big.bin; do same_file "$work/ours/$f" "$work/host/$f"; done ;;
  # Our sender pads with the session's pad character (NUL), lrzsz's with ^Z.
  x-send) pad_copy "$work/ours/data.bin" "$work/expected" 128 000; same_file "$work/expected" "$work/host/got.bin" ;;
  x-recv) pad_copy "$work/host/data.bin" "$work/expected" 128 032; same_file "$work/expected" "$work/ours/got.bin" ;;
esac
echo "PASS($mode-$case_name)"
