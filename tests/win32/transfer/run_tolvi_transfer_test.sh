#!/usr/bin/env bash
# File transfers in Tolvi.exe itself: Tolvi connects to a loopback telnetd whose log-in program
# starts a ZMODEM send (sz), which Tolvi must take up by itself, and then drives Tolvi through
# host file commands (ESC & ... CR): change folder, make a folder, send a file back with ZMODEM
# (received by rz) and erase a file that is not there, reading each completion code.
# Arguments: the folder of Tolvi.exe, the project root. Needs the test display and the prefix.
set -u
bin=$1
root=$2
source "$root/scripts/wine-env"
dir=$(mktemp -d /tmp/tolvi-xfer.XXXXXX)
source "$root/tests/win32/connections/peer_lib.sh"
fail() { echo "FAIL: $*"; cat "$dir/codes" 2>/dev/null; [[ -n ${TOLVI_KEEP_FAILED:-} ]] && cp -r "$dir" "$TOLVI_KEEP_FAILED"; exit 1; }

mkdir -p "$dir/host/back" "$dir/ours"
head -c 3000 /dev/urandom >"$dir/host/a.bin"
head -c 200000 /dev/urandom >"$dir/host/big.bin"
wours="Z:${dir//\//\\}\\ours"  # Wine's drive Z: is the root folder

# The host side: an ACL command is ESC &, two positions that are skipped, the command and CR;
# Tolvi answers S or F and CR, which the terminal line turns into a line to read.
cat >"$dir/login.sh" <<LOGIN
#!/bin/bash
cd "$dir/host" || exit 1
sz -q a.bin big.bin 2>"$dir/sz.log"
sleep 1
acl() { printf '\033&  %s\r' "\$1"; }
# The code is the first line that is S or F alone (what a transfer leaves in the line comes
# before it).
answer() {
  local line code=""
  while IFS= read -r -t 30 line; do
    line=\${line//[\$'\r\n']/}
    if [[ \$line == S || \$line == F ]]; then code=\$line; break; fi
  done
  echo "\$1 \$code" >>"$dir/codes"
}
acl 'CD $wours'; answer cd
acl 'MKDIR made'; answer mkdir
cd back
acl 'ZSEND big.bin'; rz -q | cat; answer zsend
acl 'ERASE not-there.txt'; answer erase
sleep 2
LOGIN
chmod +x "$dir/login.sh"
printf '#!/bin/sh\nexec /usr/sbin/telnetd -h -E "%s"\n' "$dir/login.sh" >"$dir/telnetd.sh"
chmod +x "$dir/telnetd.sh"
free_port TOLVI_TELNETD_PORT
peer "$TOLVI_TELNETD_PORT" EXEC:"$dir/telnetd.sh",nofork || fail "telnetd did not start"

# Texts of the configuration file are stored with backslash escapes.
printf '[Tolvi]\r\nVersion=4.5.6.3\r\nHostName="127.0.0.1"\r\nComType=2\r\nTelnetPort=%s\r\nAutonameFiles=No\r\nPromptForHost=No\r\nXferType=2\r\nAutoDetectReceive=Yes\r\nAXferConfirmError=No\r\nAxDirectory="%s"\r\n' \
  "$TOLVI_TELNETD_PORT" "${wours//\\/\\\\}" >"$dir/xfer.wcf"
wdir="Z:${dir//\//\\}"  # Wine's drive Z: is the root folder
(cd "$bin" && exec "$WINE64" Tolvi.exe "$wdir\\xfer.wcf" /c) >"$dir/tolvi.log" 2>&1 &
pids+=($!)

for _ in $(seq 1 600); do
  [[ $(grep -c . "$dir/codes" 2>/dev/null) -ge 4 ]] && break
  sleep 0.1
done
for f in a.bin big.bin; do
  cmp "$dir/host/$f" "$dir/ours/$f" >/dev/null 2>&1 || fail "$f did not arrive whole through the auto-started receive"
done
[[ -d "$dir/ours/made" ]] || fail "MKDIR made no folder in the folder of CD"
cmp "$dir/host/big.bin" "$dir/host/back/big.bin" >/dev/null 2>&1 || fail "big.bin did not come back whole through ZSEND"
expected=$'cd S\nmkdir S\nzsend S\nerase F'
[[ "$(cat "$dir/codes")" == "$expected" ]] || fail "completion codes: $(cat "$dir/codes")"
echo "PASS: Tolvi took up the host's ZMODEM send and ran host file commands with their codes"
