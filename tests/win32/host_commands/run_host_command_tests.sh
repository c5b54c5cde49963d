#!/usr/bin/env bash
# Runs the host-command tests under wine64 twice: first with Wine's audio on ALSA and ALSA's
# default device the null device (sound plays into nothing), then the no-device test alone with no
# audio driver at all. The prefix's own setting (no audio) is put back at the end.
# Arguments: the test program, the project root.
set -u
exe=$1
root=$2
source "$root/scripts/wine-env"
dir=$(mktemp -d /tmp/tolvi-host-commands.XXXXXX)
key='HKCU\Software\Wine\Drivers'
cleanup() {
  "$WINE64" reg add "$key" /v Audio /d "" /f >/dev/null 2>&1  # the prefix's own setting: no audio
  rm -rf "$dir"
}
trap cleanup EXIT

cat >"$dir/alsa.conf" <<'CONF'
</usr/share/alsa/alsa.conf>
pcm.!default { type null }
CONF

"$WINE64" reg add "$key" /v Audio /d alsa /f >/dev/null || exit 1
ALSA_CONFIG_PATH="$dir/alsa.conf" "$WINE64" "$exe" --gtest_filter='-*NoAudioDevice*'
first=$?

"$WINE64" reg add "$key" /v Audio /d "" /f >/dev/null || exit 1
"$WINE64" "$exe" --gtest_filter='*NoAudioDevice*'
second=$?

((first == 0 && second == 0))
