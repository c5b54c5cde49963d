#!/usr/bin/env bash
# Builds the modem-line fixture, makes two pty pairs with socat, maps their ends to the Wine COM ports COM10 (the modem
# simulator) and COM11 (an echoing host) through HKLM\Software\Wine\Ports, restarts the prefix's
# wineserver so that the mapping takes effect, runs the test program and stops every peer by its
# PID. Arguments: the test program, the project root.
set -u
exe=$1
root=$2
source "$root/scripts/wine-env"
dir=$(mktemp -d /tmp/tolvi-serial.XXXXXX)
pids=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  "$WINE64" reg delete 'HKLM\Software\Wine\Ports' /v COM10 /f >/dev/null 2>&1
  "$WINE64" reg delete 'HKLM\Software\Wine\Ports' /v COM11 /f >/dev/null 2>&1
  rm -f "$WINEPREFIX/dosdevices/com10" "$WINEPREFIX/dosdevices/com11"
  rm -rf "$dir"
}
trap cleanup EXIT

wait_file() {
  local i
  for i in $(seq 1 100); do [[ -e $1 ]] && return 0; sleep 0.05; done
  echo "$1 did not appear" >&2
  return 1
}

socat PTY,link="$dir/com10",raw,echo=0 PTY,link="$dir/modem",raw,echo=0 2>>"$dir/socat.log" &
pids+=($!)
socat PTY,link="$dir/com11",raw,echo=0 EXEC:cat,pty,raw,echo=0 2>>"$dir/socat.log" &
pids+=($!)
wait_file "$dir/com10" && wait_file "$dir/modem" && wait_file "$dir/com11" || exit 1

python3 "$root/tests/peers/modem_sim.py" "$dir/modem" "$dir" --dial-delay 0.5 &
pids+=($!)

"$WINE64" reg add 'HKLM\Software\Wine\Ports' /v COM10 /d "$(readlink -f "$dir/com10")" /f >/dev/null 2>&1
"$WINE64" reg add 'HKLM\Software\Wine\Ports' /v COM11 /d "$(readlink -f "$dir/com11")" /f >/dev/null 2>&1
# The port mapping is read when the server starts.
"$WINESERVER" -k >/dev/null 2>&1
"$WINESERVER" -w >/dev/null 2>&1
"$WINE64" cmd /c exit >/dev/null 2>&1
for port in com10 com11; do
  if [[ ! -e "$WINEPREFIX/dosdevices/$port" ]]; then
    echo "Wine did not map $port: $(ls -l "$WINEPREFIX/dosdevices")" >&2
    exit 1
  fi
done

# The pty of COM10 gets modem lines from the fixture, in the test program's process only.
cc -shared -fPIC -O2 -o "$dir/modem_lines.so" "$root/tests/fixtures/modem_lines.c" -ldl || exit 1
export TOLVI_MODEM_DIR=$dir
export TOLVI_MODEM_PTY=$(readlink -f "$dir/com10")
LD_PRELOAD="$dir/modem_lines.so" "$WINE64" "$exe"
