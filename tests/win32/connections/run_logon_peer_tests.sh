#!/usr/bin/env bash
# Starts the loopback peers of the log-on and capture tests (telnetd with a log-in script that
# reports what it got, and a host that writes numbered lines), runs the test program under wine64
# and stops every peer by its PID. Arguments: the test program, the project root.
set -u
exe=$1
root=$2
dir=$(mktemp -d /tmp/tolvi-logon.XXXXXX)
source "$(dirname "$0")/peer_lib.sh"

# The log-in host: prompts "login:" and "Password:", reads each answer a character at a time
# (no echo) and reports it with its timing: ms from the prompt to the first character, and from
# the last character to the line end (the CR that follows the reply). Then some output that a
# blank log-on screen must hide, the display-enable text, and output after it.
cat >"$dir/login.sh" <<'LOGIN'
#!/bin/bash
ms() { local a=${1/./} b=${2/./}; echo $(( (10#$b - 10#$a) / 1000 )); }
answer() {
  local c now
  line="" first="" last="" end=""
  while IFS= read -r -s -n 1 c; do
    now=$EPOCHREALTIME
    if [[ -z $c || $c == $'\r' ]]; then
      [[ -z $line ]] && continue  # the rest of a previous line end
      end=$now
      return 0
    fi
    [[ -z $first ]] && first=$now
    line+=$c
    last=$now
  done
  return 1
}
printf 'Welcome to the test host\r\n\r\nlogin: '
asked=$EPOCHREALTIME
answer || exit 1
user=$line userwait=$(ms "$asked" "$first") usercr=$(ms "$last" "$end")
printf '\r\nPassword: '
asked=$EPOCHREALTIME
answer || exit 1
pass=$line passcr=$(ms "$last" "$end")
printf '\r\nREPORT user=[%s] userwait=%s usercr=%s pass=[%s] passcr=%s\r\n' \
  "$user" "$userwait" "$usercr" "$pass" "$passcr"
sleep 0.3
printf 'still hidden\r\n\033[y'
printf 'SHOWN\r\nEND-OF-SESSION\r\n'
sleep 1
LOGIN
chmod +x "$dir/login.sh"
cat >"$dir/telnetd.sh" <<TELNETD
#!/bin/sh
exec /usr/sbin/telnetd -h -E "$dir/login.sh"
TELNETD
chmod +x "$dir/telnetd.sh"

# Numbered lines, a few every few milliseconds, for the capture to be switched while they flow.
cat >"$dir/lines.sh" <<'LINES'
#!/bin/bash
for ((i = 0; i < 3000; ++i)); do
  printf 'line %05d of the host output\r\n' "$i"
  ((i % 10 == 9)) && sleep 0.01
done
LINES
chmod +x "$dir/lines.sh"

export TOLVI_PEER_DIR=$dir
free_port TOLVI_LOGIN_PORT
free_port TOLVI_LOGIN2_PORT
free_port TOLVI_LINES_PORT
peer "$TOLVI_LOGIN_PORT" EXEC:"$dir/telnetd.sh",nofork || exit 1
peer "$TOLVI_LOGIN2_PORT" EXEC:"$dir/telnetd.sh",nofork || exit 1
peer "$TOLVI_LINES_PORT" EXEC:"$dir/lines.sh" || exit 1

"$root/scripts/wine-run" "$exe"
