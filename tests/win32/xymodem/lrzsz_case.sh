#!/usr/bin/env bash
# One transfer between xy_peer.exe (Kestrix.dll under wine64) and lrzsz, over a socat pty pair
# whose one end is mapped to a Wine COM port; for the noise cases a relay that damages bytes
# sits between two pty pairs. Starts and stops its own peers (by PID) and judges the files.
#
#   lrzsz_case.sh CASE COM_NUMBER EXE_DIR NOISE_RELAY
source "$(dirname "$0")/line_lib.sh" "$@"
debug_log="$work/xy.log"

case $case_name in
  noise-recv-*) noise_to_us=1500 ;;
  # lrzsz waits about ten seconds for the rest of a block that lost a byte before it answers:
  # the sender is given a longer time-out base, and fewer bytes are damaged on this side.
  noise-send-*) noise_to_peer=15000; export XY_TIME=50 ;;
esac
open_line

pad_copy() {  # pad_copy SRC DST BLOCK PADBYTE_OCTAL [NUL_FIRST]
  cp "$1" "$2"
  local size rest fill
  size=$(stat -c %s "$1")
  rest=$((size % $3))
  ((rest == 0)) && return 0
  fill=$(($3 - rest))
  if [[ ${5:-} == nul ]]; then printf '\0' >>"$2"; fill=$((fill - 1)); fi
  head -c "$fill" /dev/zero | tr '\0' "\\$4" >>"$2"
}
batch=(a.bin empty.txt odd.dat big.bin)
make_batch() {
  make_file "$1/a.bin" 3000
  make_file "$1/empty.txt" 0
  make_file "$1/odd.dat" 1029
  make_file "$1/big.bin" 70000
}

ours() {  # ours ARGS...  (runs xy_peer.exe in the ours folder)
  (cd "$work/ours" && XY_DEBUG_LOG="$work/xy.log" timeout 200 "$WINE64" "$exe_dir/xy_peer.exe" "$@") \
    >"$work/ours.out" 2>&1
  local rc=$?
  cat "$work/ours.out"
  return $rc
}
# Our sender runs first (its start clears the line) and the receiving peer comes a moment
# later. lrzsz's receivers at times end without the last ACK (of the EOT, or of the empty
# header that ends a batch; seen on the line): once the peer has ended, our sender is given a
# few seconds and then stopped, and the files are judged. A sender that did end must have
# completed.
ours_bg() {
  (cd "$work/ours" && XY_DEBUG_LOG="$work/xy.log" exec timeout 200 "$WINE64" "$exe_dir/xy_peer.exe" "$@") \
    >"$work/ours.out" 2>&1 &
  ours_pid=$!
  pids+=($ours_pid)
  sleep 1
}
ours_end() {
  local i
  for i in $(seq 1 30); do kill -0 "$ours_pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$ours_pid" 2>/dev/null; then
    kill "$ours_pid"
    wait "$ours_pid" 2>/dev/null
    echo "sender stopped after the peer ended without its last ACK"
    grep -q "Got ACK" "$work/xy.log" || fail "the peer acknowledged nothing"
  else
    wait "$ours_pid"
    local rc=$?
    cat "$work/ours.out"
    ((rc == 0)) || fail "send did not complete"
  fi
}

case $case_name in
  recv-sx-x|recv-sx-c|recv-sxk-y|recv-sxk-s|recv-sxk-c|noise-recv-sx-c|thread-recv-sx-c)
    make_file "$work/peer/data.bin" 5000
    opts=(-q)
    [[ $case_name == *sxk* ]] && opts+=(-k)
    mode=${case_name##*-}; mode=${mode^^}
    peer sx "${opts[@]}" data.bin
    if [[ $case_name == thread-* ]]; then
      ours thread recv "$com_name" "$mode" got.bin || fail "receive did not complete"
      grep -q "status 10000 10001" "$work/ours.out" || fail "worker status codes"
    else
      ours recv "$com_name" "$mode" got.bin || fail "receive did not complete"
    fi
    # The sender pads the last block to 128 bytes with ^Z; its 1K blocks are whole.
    pad_copy "$work/peer/data.bin" "$work/expected" 128 032
    same_file "$work/expected" "$work/ours/got.bin"
    ;;
  recv-sb-t|recv-sbk-t|steps-recv-sb-t|noise-recv-sb-t)
    make_batch "$work/peer"
    opts=(-q)
    [[ $case_name == *sbk* ]] && opts+=(-k)
    peer sb "${opts[@]}" "${batch[@]}"
    if [[ $case_name == steps-* ]]; then
      ours steps recv "$com_name" T "" || fail "batch receive did not complete"
    else
      ours recv "$com_name" T "" || fail "batch receive did not complete"
    fi
    for f in "${batch[@]}"; do
      same_file "$work/peer/$f" "$work/ours/$f"
      same_date "$work/peer/$f" "$work/ours/$f"
    done
    ;;
  send-rx-x|send-rxc-c|send-rxc-y|send-rxc-s|noise-send-rxc-c)
    make_file "$work/ours/data.bin" 5000
    mode=${case_name##*-}; mode=${mode^^}
    opts=(-q)
    [[ $case_name == *rxc* ]] && opts+=(-c)
    ours_bg send "$com_name" "$mode" data.bin
    peer rx "${opts[@]}" got.bin
    wait_peer
    ours_end
    case $mode in
      X|C) pad_copy "$work/ours/data.bin" "$work/expected" 128 032 ;;
      Y) pad_copy "$work/ours/data.bin" "$work/expected" 1024 032 ;;
      S) pad_copy "$work/ours/data.bin" "$work/expected" 1024 032 nul ;;
    esac
    same_file "$work/expected" "$work/peer/got.bin"
    ;;
  send-rb-t|send-rb-t-forcelow|steps-send-rb-t|thread-send-rb-t|noise-send-rb-t)
    make_batch "$work/ours"
    if [[ $case_name == steps-* ]]; then
      ours_bg steps send "$com_name" T "${batch[*]}"
    elif [[ $case_name == thread-* ]]; then
      ours_bg thread send "$com_name" T "${batch[*]}"
    elif [[ $case_name == *forcelow ]]; then
      XY_FORCE_LOW=1 ours_bg send "$com_name" T "${batch[*]}"
    else
      ours_bg send "$com_name" T "${batch[*]}"
    fi
    peer rb -q
    wait_peer
    ours_end
    if [[ $case_name == thread-* ]] && grep -q "^result" "$work/ours.out"; then
      grep -q "status 10000 10001" "$work/ours.out" || fail "worker status codes"
    fi
    for f in "${batch[@]}"; do
      same_file "$work/ours/$f" "$work/peer/$f"
      same_date "$work/ours/$f" "$work/peer/$f"
    done
    ;;
  thread-abort)
    # The reader outlives our program however slowly Wine starts it; it is stopped once the
    # cancel had time to arrive.
    (exec timeout 120 cat "$work/peer.tty" >"$work/peer/seen.bin") &
    peer_pid=$!
    pids+=($peer_pid)
    ours abort "$com_name" C got.bin || fail "worker was not aborted"
    grep -q "status 10000 10002" "$work/ours.out" || fail "worker status codes"
    sleep 0.5
    kill "$peer_pid" 2>/dev/null
    wait "$peer_pid" 2>/dev/null
    cans=$(tr -dc '\030' <"$work/peer/seen.bin" | wc -c)
    ((cans >= 2)) || fail "the other side saw $cans CAN bytes"
    ;;
  *) fail "unknown case" ;;
esac
if [[ $case_name == noise-* ]]; then
  grep -q "Reported" "$work/xy.log" || fail "the noise caused no retry"
fi
echo "PASS($case_name)"
