#!/usr/bin/env bash
# One transfer between zm_peer.exe (Halvet.dll under wine64) and lrzsz's sz or rz over a socat
# pty pair mapped to a Wine COM port (for the noise cases with the damaging relay between two
# pairs). Starts and stops its own peers (by PID) and judges the files.
#
#   zmodem_case.sh CASE COM_NUMBER EXE_DIR NOISE_RELAY
source "$(dirname "$0")/../xymodem/line_lib.sh" "$@"
debug_log="$work/ours/zmodem.log"

case $case_name in
  noise-recv-*) noise_to_us=3000 ;;
  noise-send-*) noise_to_peer=20000 ;;
esac
open_line

five_mb=$((5 * 1024 * 1024))
batch=(a.bin empty.txt odd.dat big.bin)
make_batch() {  # make_batch FOLDER BIG_SIZE
  make_file "$1/a.bin" 3000
  make_file "$1/empty.txt" 0
  make_file "$1/odd.dat" 1029
  make_file "$1/big.bin" "$2"
}
ours() {  # ours ARGS...  (zm_peer.exe in the ours folder)
  (cd "$work/ours" && timeout 300 "$WINE64" "$exe_dir/zm_peer.exe" "$@") >"$work/ours.out" 2>&1
  local rc=$?
  cat "$work/ours.out"
  return $rc
}
# Our sender starts first and the receiving peer a moment later.
ours_bg() {
  (cd "$work/ours" && exec timeout 300 "$WINE64" "$exe_dir/zm_peer.exe" "$@") >"$work/ours.out" 2>&1 &
  ours_pid=$!
  pids+=($ours_pid)
  sleep 1
}
ours_wait() {
  wait "$ours_pid"
  local rc=$?
  cat "$work/ours.out"
  return $rc
}
# Each file of the batch arrived whole, under its own name and with its date.
same_batch() {  # same_batch FROM TO
  local f
  for f in "${batch[@]}"; do
    [[ -f "$2/$f" ]] || fail "$f did not arrive"
    same_file "$1/$f" "$2/$f"
    same_date "$1/$f" "$2/$f"
  done
}

case $case_name in
  recv-sz|recv-sz-crc16-escaped-virtual|noise-recv-sz)
    big=$five_mb
    opts=(-q)
    args=()
    [[ $case_name == noise-* ]] && big=300000
    [[ $case_name == *crc16* ]] && { opts+=(-o -e); big=200000; args=(virtual); }
    make_batch "$work/peer" "$big"
    peer sz "${opts[@]}" "${batch[@]}"
    ours recv "$com_name" "${args[@]}" || fail "receive did not complete"
    wait_peer 50
    same_batch "$work/peer" "$work/ours"
    ;;
  recv-sz-names)
    # A sender's path never reaches outside our folder: only its last component is used.
    mkdir -p "$work/peer/sub/deeper" "$work/ours/in"
    make_file "$work/peer/sub/deeper/x.bin" 2000
    make_file "$work/peer/y.bin" 100
    peer sz -q -f sub/deeper/x.bin ../peer/y.bin
    (cd "$work/ours/in" && timeout 120 "$WINE64" "$exe_dir/zm_peer.exe" recv "$com_name") >"$work/ours.out" 2>&1 ||
      { cat "$work/ours.out"; fail "receive did not complete"; }
    cat "$work/ours.out"
    wait_peer 50
    same_file "$work/peer/sub/deeper/x.bin" "$work/ours/in/x.bin"
    same_file "$work/peer/y.bin" "$work/ours/in/y.bin"
    extra=$(find "$work/ours" -type f ! -path "$work/ours/in/*" ! -name ours.out | wc -l)
    ((extra == 0)) || fail "files outside the receive folder: $(find "$work/ours" -type f)"
    ;;
  send-rz|send-rz-crc16-escaped|noise-send-rz)
    big=$five_mb
    flags=40
    [[ $case_name == noise-* ]] && big=300000
    [[ $case_name == *crc16* ]] && { flags=45; big=200000; }
    make_batch "$work/ours" "$big"
    ours_bg send "$com_name" "$flags" "${batch[*]}"
    peer rz -q
    ours_wait || fail "send did not complete"
    wait_peer 50
    same_batch "$work/ours" "$work/peer"
    ;;
  abort-recv)
    make_file "$work/peer/big.bin" 2000000
    peer sz -q big.bin
    ours recv "$com_name" abort || fail "the receive was not aborted"
    for i in $(seq 1 100); do kill -0 "$peer_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$peer_pid" 2>/dev/null && fail "the sender did not stop at our cancel"
    ;;
  *) fail "unknown case" ;;
esac
if [[ $case_name == noise-* ]] && grep -q "retries 0 " "$work/ours.out"; then
  fail "the noise caused no retry"
fi
echo "PASS($case_name)"
