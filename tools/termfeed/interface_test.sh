#!/bin/sh
# termfeed's interface: R lines of C characters, the cursor line, --planes, --replies, exit codes.
set -u
feed=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "termfeed interface: $*" >&2; exit 1; }

printf 'ab\033[6n\033[2;3Hc' | "$feed" --emulation 2 --cols 80 --rows 5 --block 2 --replies "$tmp/replies" >"$tmp/out" ||
  fail "exit $?"
[ "$(wc -l <"$tmp/out")" -eq 6 ] || fail "expected 5 rows and the cursor line"
[ "$(sed -n 1p "$tmp/out")" = "ab$(printf '%78s' '')" ] || fail "row 0 is not 80 characters"
[ "$(sed -n 6p "$tmp/out")" = "cursor 1 3" ] || fail "wrong cursor line: $(sed -n 6p "$tmp/out")"
[ "$(cat "$tmp/replies")" = "$(printf '\033[1;3R')" ] || fail "wrong replies"

printf 'x' >"$tmp/in"
"$feed" --planes --rows 2 "$tmp/in" >"$tmp/planes" || fail "--planes exit $?"
[ "$(wc -l <"$tmp/planes")" -eq 9 ] || fail "--planes: expected 2 rows, cursor and 3 x 2 plane rows"
[ "$(sed -n 4p "$tmp/planes" | wc -c)" -eq 161 ] || fail "--planes: a plane row is 160 hex digits"

for args in "--cols 81" "--rows 0" "--block 0" "--bogus" "$tmp/missing" "--emulation"; do
  # shellcheck disable=SC2086
  "$feed" $args </dev/null >/dev/null 2>"$tmp/err"
  status=$?
  [ $status -eq 2 ] || fail "'$args' exits $status, not 2"
  [ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "'$args' gives no one-line message"
done
echo "termfeed interface: ok"
