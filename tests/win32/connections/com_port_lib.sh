# Sourced by the serial runners after they set $root and $dir: pty pairs made by socat and mapped
# to Wine COM ports, the modem-line fixture, and a cleanup that stops every peer by its PID,
# removes the port mappings and the scratch folder.
source "$root/scripts/wine-env"
pids=()
mapped=()
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  for p in "${mapped[@]}"; do
    "$WINE64" reg delete 'HKLM\Software\Wine\Ports' /v "$p" /f >/dev/null 2>&1
    rm -f "$WINEPREFIX/dosdevices/${p,,}"
  done
  rm -rf "$dir"
}
trap cleanup EXIT

wait_file() {
  local i
  for i in $(seq 1 100); do [[ -e $1 ]] && return 0; sleep 0.05; done
  echo "$1 did not appear" >&2
  return 1
}

# pty_pair LINK ADDRESS: a pty linked at $dir/LINK whose other end is socat's ADDRESS.
pty_pair() {
  socat PTY,link="$dir/$1",raw,echo=0 "$2" 2>>"$dir/socat.log" &
  pids+=($!)
  wait_file "$dir/$1"
}

# map_ports COMn=LINK...: maps each port to the pty behind $dir/LINK. The mapping is read when the
# server starts, so the prefix's wineserver is restarted.
map_ports() {
  local pair port
  for pair in "$@"; do
    port=${pair%%=*}
    mapped+=("$port")
    "$WINE64" reg add 'HKLM\Software\Wine\Ports' /v "$port" /d "$(readlink -f "$dir/${pair#*=}")" /f >/dev/null 2>&1
  done
  "$WINESERVER" -k >/dev/null 2>&1
  "$WINESERVER" -w >/dev/null 2>&1
  "$WINE64" cmd /c exit >/dev/null 2>&1
  for port in "${mapped[@]}"; do
    if [[ ! -e "$WINEPREFIX/dosdevices/${port,,}" ]]; then
      echo "Wine did not map $port: $(ls -l "$WINEPREFIX/dosdevices")" >&2
      return 1
    fi
  done
}

# modem_lines LINK: builds the modem-line fixture for the pty behind $dir/LINK; the programs run
# with LD_PRELOAD="$dir/modem_lines.so" then see modem lines on it.
modem_lines() {
  cc -shared -fPIC -O2 -o "$dir/modem_lines.so" "$root/tests/fixtures/modem_lines.c" -ldl || return 1
  export TOLVI_MODEM_DIR=$dir
  TOLVI_MODEM_PTY=$(readlink -f "$dir/$1")
  export TOLVI_MODEM_PTY
}
