#!/usr/bin/env bash
# One transfer between km_peer.exe (Drosk.dll under wine64) and gkermit or a C-Kermit server,
# over a socat pty pair whose one end is mapped to a Wine COM port; for the noise cases the
# relay that damages bytes sits between two pty pairs. Starts and stops its own peers (by PID)
# and judges the files.
#
#   kermit_case.sh CASE COM_NUMBER EXE_DIR NOISE_RELAY
source "$(dirname "$0")/../xymodem/line_lib.sh" "$@"
debug_log="$work/kermit.log"
export KM_DEBUG_LOG="$debug_log"

case $case_name in
  # Damage about one byte in N each way; the CRC check finds it. A dropped byte costs a
  # time-out (the packet waits for its last byte), hence the rate and the smaller large file.
  noise-*) noise_to_peer=10000; noise_to_us=10000; export KM_CHECK=2 ;;
  long-*) export KM_PACKET=1024 KM_CHECK=2 KM_QUOTE8=2 ;;
  get-*) export KM_PACKET=2000 KM_CHECK=2 ;;
  real-*) export KM_REAL_PORT=1 ;;
esac
open_line

batch=(a.bin empty.txt odd.dat big.bin)
make_batch() {
  make_file "$1/a.bin" 3000
  make_file "$1/empty.txt" 0
  make_file "$1/odd.dat" 1029
  make_file "$1/big.bin" "$big_size"
}
big_size=400000
[[ $case_name == noise-* ]] && big_size=100000

ours() {  # ours ARGS...  (km_peer.exe in the ours folder, in the foreground)
  (cd "$work/ours" && timeout 200 "$WINE64" "$exe_dir/km_peer.exe" "$@") >"$work/ours.out" 2>&1
  local rc=$?
  cat "$work/ours.out"
  return $rc
}
server() {  # server COMMAND...  (a peer that opens the line itself: its terminal stays apart)
  (cd "$work/peer" && exec timeout 200 "$@" </dev/null >"$work/peer.log" 2>&1) &
  peer_pid=$!
  pids+=($peer_pid)
}
# gkermit in binary mode with names as they are.
gk=(gkermit -q -i -P)

case $case_name in
  recv-gk|long-recv-gk|noise-recv-gk)
    make_batch "$work/peer"
    peer "${gk[@]}" -s "${batch[@]}"
    ours recv "$com_name" || fail "receive did not complete"
    wait_peer || fail "gkermit did not end well"
    for f in "${batch[@]}"; do same_file "$work/peer/$f" "$work/ours/$f"; done
    for f in "${batch[@]}"; do tr -d '\r' <"$work/ours.out" | grep -qx "file $f" || fail "the name $f was not shown"; done
    ;;
  send-gk|long-send-gk|noise-send-gk|real-send-gk)
    make_batch "$work/ours"
    peer "${gk[@]}" -r
    sleep 0.5
    ours send "$com_name" "${batch[*]}" || fail "send did not complete"
    wait_peer || fail "gkermit did not end well"
    for f in "${batch[@]}"; do same_file "$work/ours/$f" "$work/peer/$f"; done
    ;;
  path-recv-gk)
    # The sender gives names with folders: only their last part is used, in our folder.
    mkdir -p "$work/peer/sub"
    make_file "$work/peer/sub/inner.bin" 2000
    make_file "$work/peer/top.bin" 100
    peer "${gk[@]}" -s sub/inner.bin ../peer/top.bin
    ours recv "$com_name" || fail "receive did not complete"
    wait_peer
    same_file "$work/peer/sub/inner.bin" "$work/ours/inner.bin"
    same_file "$work/peer/top.bin" "$work/ours/top.bin"
    [[ ! -e "$work/top.bin" && ! -e "$work/ours/sub" && ! -e "$work/ours/peer" ]] ||
      fail "a file landed outside the folder"
    ;;
  abort-recv-gk)
    make_file "$work/peer/big.bin" 2000000
    peer "${gk[@]}" -s big.bin
    ours abort "$com_name" 100000 || fail "the receive was not aborted"
    # Our error packet ends gkermit at once. One still running later never got it (its own
    # time-out would end it only minutes later, and that is no proof of the packet).
    for i in $(seq 1 300); do kill -0 "$peer_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$peer_pid" 2>/dev/null && fail "gkermit still runs 30 s after our abort"
    wait "$peer_pid" && fail "gkermit ended well after our abort"
    grep -q "> E" "$work/kermit.log" || fail "no error packet went out"
    [[ ! -e "$work/ours/big.bin" ]] || fail "the partial file was kept"
    ;;
  get-finish-ck)
    # C-Kermit as a server in the peer folder: Get two files (one after the other, one large,
    # one that is not there), then Finish, after which the server ends by itself.
    make_file "$work/peer/remote.bin" 300000
    make_file "$work/peer/small.txt" 10
    server kermit -Y -B -l "$work/peer.tty" -b 115200 -C "set carrier-watch off, set flow none,\
 set transfer mode manual, set file type binary, set file names literal, set transfer display none,\
 server, exit"
    sleep 1
    ours get "$com_name" remote.bin || fail "get of remote.bin did not complete"
    same_file "$work/peer/remote.bin" "$work/ours/remote.bin"
    ours get "$com_name" small.txt || fail "get of small.txt did not complete"
    same_file "$work/peer/small.txt" "$work/ours/small.txt"
    ours get "$com_name" missing.txt && fail "get of a missing file completed"
    grep -q "error 102" "$work/ours.out" || fail "the server's error was not reported"
    kill -0 "$peer_pid" 2>/dev/null || fail "the server ended early"
    ours finish "$com_name" || fail "finish"
    for i in $(seq 1 50); do kill -0 "$peer_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$peer_pid" 2>/dev/null && fail "the server did not finish"
    ;;
  *) fail "unknown case" ;;
esac
if [[ $case_name == noise-* ]]; then
  grep -q "damaged\|check failed\|time-out" "$work/kermit.log" || fail "the noise caused no retry"
fi
echo "PASS($case_name)"
