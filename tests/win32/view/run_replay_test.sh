#!/usr/bin/env bash
# The play option under Wine: Tolvi.exe plays a file at start-up on the view's timer; the file
# calls another one and then asks Tolvi to close, so a Tolvi that ends by itself has run the
# replay through. Arguments: the folder of Tolvi.exe, the project root.
set -u
bin=$1
root=$2
source "$root/scripts/wine-env"
dir=$(mktemp -d /tmp/tolvi-replay.XXXXXX)
tolvi=""
cleanup() {
  [[ -n "$tolvi" ]] && kill "$tolvi" 2>/dev/null && wait "$tolvi" 2>/dev/null
  rm -rf "$dir"
}
trap cleanup EXIT

printf '[Tolvi]\r\nVersion=4.5.6.3\r\nAutonameFiles=No\r\n' >"$dir/play.wcf"
wdir="Z:${dir//\//\\}"  # Wine's drive Z: is the root folder
printf 'COMM: 41 42\nDATA: "<cr><lf>"\nRETURN:\n' >"$dir/inner.trc"
printf 'COMM: a b CR LF\nCALL: "%s"\nSEND: x y\nQUIT:\n' "${wdir//\\/\\\\}\\\\inner.trc" >"$dir/outer.trc"
(cd "$bin" && exec "$WINE64" Tolvi.exe "$wdir\\play.wcf" "/play:$wdir\\outer.trc") >"$dir/tolvi.log" 2>&1 &
tolvi=$!
for _ in $(seq 1 300); do
  kill -0 "$tolvi" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$tolvi" 2>/dev/null; then
  echo "FAIL: Tolvi still runs: the replay did not reach QUIT:"
  exit 1
fi
tolvi=""
echo "PASS: the play option ran the file, its call and its QUIT:"
