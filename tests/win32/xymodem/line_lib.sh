# Sourced by the case scripts that run a Windows transfer program under wine64 against a native
# peer: the work folder, a socat pty pair (or two, with the noise relay between them) whose one
# end is mapped to a Wine COM port, the peer on the other end, and the cleanup that stops every
# process started here (by PID) and removes the port mapping.
#
# Sourced with the case script's arguments: CASE COM_NUMBER EXE_DIR NOISE_RELAY. The case runs
# in a fresh folder EXE_DIR/runs/CASE; the script sets debug_log, the file whose tail a failure
# shows, and the noise rates before it calls open_line.
set -uo pipefail
case_name=$1
com=$2
exe_dir=$3
relay=$4
work="$exe_dir/runs/$case_name"
debug_log=""
noise_to_us=0
noise_to_peer=0
source "$(dirname "${BASH_SOURCE[0]}")/../../../scripts/wine-env"

rm -rf "$work"
mkdir -p "$work/ours" "$work/peer"
pids=()
link="$WINEPREFIX/dosdevices/com$com"
com_name="COM$com"

cleanup() {
  exec 7>&- 2>/dev/null
  local p
  for p in "${pids[@]}"; do
    kill "$p" 2>/dev/null
    wait "$p" 2>/dev/null
  done
  [[ -L "$link" && "$(readlink "$link")" == "$work/"* ]] && rm -f "$link"
  # The mapping goes too: a later wineserver would otherwise link the port to a stale pty path.
  "$WINE64" reg delete 'HKLM\Software\Wine\Ports' /v "COM$com" /f >/dev/null 2>&1
}
trap cleanup EXIT
fail() { echo "FAIL($case_name): $*"; [[ -f "$debug_log" ]] && tail -n 30 "$debug_log"; exit 1; }

pty_pair() {  # pty_pair LINK_A LINK_B
  socat pty,raw,echo=0,link="$1" pty,raw,echo=0,link="$2" 2>>"$work/socat.log" &
  pids+=($!)
  local i
  for i in $(seq 1 50); do [[ -e "$1" && -e "$2" ]] && return 0; sleep 0.1; done
  fail "socat did not make $1 and $2"
}

# open_line: the line from our COM port to peer.tty; with noise_to_peer or noise_to_us above 0
# the relay damages about one byte in that many on that way.
open_line() {
  if ((noise_to_peer > 0 || noise_to_us > 0)); then
    pty_pair "$work/com" "$work/relay-a"
    pty_pair "$work/relay-b" "$work/peer.tty"
    "$relay" "$work/relay-a" "$work/relay-b" "$noise_to_peer" "$noise_to_us" 7 2>>"$work/relay.log" &
    pids+=($!)
  else
    pty_pair "$work/com" "$work/peer.tty"
  fi
  # Held open here so that the pair outlives the peer: when the last holder of a pty closes it,
  # socat ends and what the peer wrote just before (its last answer) would be lost on the way.
  exec 7<>"$work/peer.tty"

  # The COM port: mapped by name in the registry and in dosdevices, never over a real device.
  if [[ -e "$link" || -L "$link" ]]; then
    local target
    target=$(readlink "$link")
    case $target in
      /dev/ttyS*|/dev/ttyUSB*|/dev/ttyACM*) fail "COM$com is a real serial device ($target)" ;;
    esac
  fi
  "$WINE64" reg add 'HKLM\Software\Wine\Ports' /v "COM$com" /d "$work/com" /f >/dev/null 2>&1
  ln -sfn "$work/com" "$link"
  [[ "$(readlink "$link")" == "$work/com" ]] || fail "COM$com is not mapped to our pty"
}

make_file() { head -c "$2" /dev/urandom >"$1"; touch -d '2021-03-04 05:06:07' "$1"; }

peer() {  # peer COMMAND... (runs in the peer folder on the peer end of the line)
  (cd "$work/peer" && exec timeout 200 "$@" <"$work/peer.tty" >"$work/peer.tty" 2>"$work/peer.log") &
  peer_pid=$!
  pids+=($peer_pid)
}
wait_peer() {  # the peer that writes a file is given time to finish
  local i
  for i in $(seq 1 ${1:-200}); do kill -0 "$peer_pid" 2>/dev/null || break; sleep 0.1; done
  wait "$peer_pid" 2>/dev/null
}
same_file() { cmp "$1" "$2" >/dev/null || fail "$2 differs from $1 ($(stat -c %s "$1") / $(stat -c %s "$2") bytes)"; }
same_date() { [[ "$(stat -c %Y "$1")" == "$(stat -c %Y "$2")" ]] || fail "date of $2 differs from $1"; }
