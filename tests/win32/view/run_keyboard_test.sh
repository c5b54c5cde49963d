#!/usr/bin/env bash
# Typing into Tolvi for real: Tolvi.exe connects to a loopback peer that records what it receives,
# xdotool types a command line into the window, and the bytes are checked at the peer and in the
# session's comm recording; then the PC's cursor, editing and function keys send the sequences of
# the emulation's keyboard files. Arguments: the folder of Tolvi.exe, the project root.
# Needs the test display and the Wine prefix (scripts/test starts both).
set -u
bin=$1
root=$2
source "$root/scripts/wine-env"
dir=$(mktemp -d /tmp/tolvi-keys.XXXXXX)
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  rm -rf "$dir"
}
trap cleanup EXIT
keep_log() { [[ -s "$dir/tolvi.log" ]] && sed -n 1,20p "$dir/tolvi.log"; }
fail() { echo "FAIL: $*"; keep_log; exit 1; }

port=0
while :; do
  port=$((20000 + RANDOM % 12000))  # below the ephemeral range
  [[ -z $(ss -Htan "sport = :$port") ]] && break
done
# The peer only listens: everything Tolvi sends goes into a file.
socat -u "TCP-LISTEN:$port,bind=127.0.0.1,reuseaddr" "OPEN:$dir/received,creat,append" 2>"$dir/socat.log" &
pids+=($!)
for _ in $(seq 1 100); do ss -ltn "sport = :$port" | grep -q LISTEN && break; sleep 0.05; done

printf '[Tolvi]\r\nVersion=4.5.6.3\r\nHostName="127.0.0.1"\r\nComType=2\r\nTelnetPort=%s\r\nAutonameFiles=No\r\nPromptForHost=No\r\n' \
  "$port" >"$dir/keys.wcf"
wdir="Z:${dir//\//\\}"  # Wine's drive Z: is the root folder
# Tolvi opens at its default size whatever window placement an earlier program left in the prefix.
python3 -c 'import sys; sys.path.insert(0, sys.argv[1]); import e2e; e2e.forget_window_placement(sys.argv[2])' \
  "$root/tests/win32/e2e" "$root"
(cd "$bin" && exec "$WINE64" Tolvi.exe "$wdir\\keys.wcf" /c "/record:$wdir\\keys.trc") >"$dir/tolvi.log" 2>&1 &
pids+=($!)

# Connected once the peer has created its file.
for _ in $(seq 1 300); do [[ -e "$dir/received" ]] && break; sleep 0.1; done
[[ -e "$dir/received" ]] || fail "Tolvi did not connect to the peer"
window=$(xdotool search --name "^Tolvi" 2>/dev/null | head -1)
[[ -n "$window" ]] || fail "no Tolvi window on $DISPLAY"
size() { stat -c %s "$dir/received"; }
# One key, awaited at the peer: under load the display's queue and Wine may run well behind.
press() {
  local before
  before=$(size)
  xdotool key "$1"
  for _ in $(seq 1 300); do [[ $(size) -gt $before ]] && return 0; sleep 0.1; done
  fail "the key $1 did not reach the peer"
}
# A click into the middle of the window (the terminal view) gives it the keyboard; the click is
# repeated until a probe key reaches the peer.
eval "$(xdotool getwindowgeometry --shell "$window")"
focused=
for _ in 1 2 3 4 5; do
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
  sleep 0.5
  before=$(size)
  xdotool key numbersign
  for _ in $(seq 1 50); do [[ $(size) -gt $before ]] && { focused=1; break; }; sleep 0.1; done
  [[ -n $focused ]] && break
done
[[ -n $focused ]] || fail "the view never took the keyboard"
for key in e c h o space h e l l o Return; do press "$key"; done
for _ in $(seq 1 300); do grep -q $'hello\r' "$dir/received" 2>/dev/null && break; sleep 0.1; done

received=$(od -An -c "$dir/received" | tr -s ' ' | tr -d '\n')
[[ "$received" == *"e c h o h e l l o \r \0"* ]] || fail "the peer received: $received"
trace=$(cat "$dir/keys.trc")
for record in "KEYB: 0065 : e" "SEND: e" "KEYB: 0020 : SP" "KEYB: 000D : CR" "SEND: CR 00"; do
  [[ "$trace" == *"$record"* ]] || fail "no '$record' in the recording: $trace"
done

# The PC keys of the emulation's keyboard files (vt220 here): cursor, editing and function keys.
before=$(size)
for key in Up Home Delete Prior Next Insert End F1 F5 F12 shift+F8 BackSpace; do press "$key"; done
expected=$'\e[A\e[1~\e[3~\e[5~\e[6~\e[2~\e[4~\eOP\e[15~\e[24~\e[34~\b'
for _ in $(seq 1 300); do [[ $(size) -ge $((before + ${#expected})) ]] && break; sleep 0.1; done
keys=$(tail -c +$((before + 1)) "$dir/received")
[[ "$keys" == "$expected" ]] || fail "the PC keys sent: $(printf '%s' "$keys" | od -An -c | tr -s ' ' | tr -d '\n')"
echo "PASS: typed keys reached the peer and the recording; the PC keys sent their terminal's sequences"
