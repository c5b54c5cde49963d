# Shared by the serial line tests of the transfer libraries (source it): a socat pty pair whose
# one end is mapped to a Wine COM port, optionally with the noise relay between two pairs, and
# the clean-up of peers (by PID) and of the port mapping.
#
# The caller sets: work (its run folder), com (the COM number), case_name, and calls
#   com_line NOISE_TO_PEER NOISE_TO_US RELAY   (rates 0 0 for a clean line)
# after which $work/com is our end (mapped to COM$com) and $work/peer.tty the peer's end.
# Peers started with "pids+=($!)" are stopped on exit. fail() prints its message, the tail of
# $work/$debug_log (when set) and exits 1.
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env"

pids=()
link="$WINEPREFIX/dosdevices/com$com"

com_cleanup() {
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
trap com_cleanup EXIT
fail() {
  echo "FAIL($case_name): $*"
  [[ -n "${debug_log:-}" && -f "$work/$debug_log" ]] && tail -n 30 "$work/$debug_log"
  exit 1
}

pty_pair() {  # pty_pair LINK_A LINK_B
  socat pty,raw,echo=0,link="$1" pty,raw,echo=0,link="$2" 2>>"$work/socat.log" &
  pids+=($!)
  local i
  for i in $(seq 1 50); do [[ -e "$1" && -e "$2" ]] && return 0; sleep 0.1; done
  fail "socat did not make $1 and $2"
}

com_line() {  # com_line NOISE_TO_PEER NOISE_TO_US RELAY
  if (($1 || $2)); then
    pty_pair "$work/com" "$work/relay-a"
    pty_pair "$work/relay-b" "$work/peer.tty"
    "$3" "$work/relay-a" "$work/relay-b" "$1" "$2" 7 2>>"$work/relay.log" &
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
same_file() { cmp "$1" "$2" >/dev/null || fail "$2 differs from $1 ($(stat -c %s "$1") / $(stat -c %s "$2") bytes)"; }
