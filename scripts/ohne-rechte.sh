#!/usr/bin/env bash
# Runs a test program as the user nobody, passing further arguments to it, so
# that tests of file permissions, which skip themselves under root, run where
# everything runs as root (CI). A test skipped there, or no test run at all,
# counts as a failure.
# Not run as root, the permission tests ran in the normal run already: exit 77
# (skipped).
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
  echo "nicht root: die Rechte-Tests liefen schon im normalen Lauf"
  exit 77
fi
programm=$1
shift

# nobody must reach the program wherever the build lies.
tmp=$(mktemp -d "${TMPDIR:-/tmp}/rankenwerk-ohne-rechte-XXXXXX")
trap 'rm -rf "$tmp"' EXIT
chmod 0755 "$tmp"
cp "$programm" "$tmp/"

# Files the user nobody may write, but whose owner (fremd.LSY) or group
# (gruppe.LSY) it cannot give to a new file, in a folder anyone may write.
gruppe=$(id -gn nobody)
mkdir -m 0777 "$tmp/fremd"
printf 'alt\r\n' >"$tmp/fremd/fremd.LSY"
chmod 0666 "$tmp/fremd/fremd.LSY"
printf 'alt\r\n' >"$tmp/fremd/gruppe.LSY"
chown nobody:root "$tmp/fremd/gruppe.LSY"
chmod 0644 "$tmp/fremd/gruppe.LSY"

ausgabe=$tmp/ausgabe
RANKENWERK_FREMDER_ORDNER=$tmp/fremd setpriv --reuid=nobody --regid="$gruppe" --clear-groups \
  "$tmp/$(basename "$programm")" "$@" 2>&1 | tee "$ausgabe"
if grep -q '^\[  SKIPPED \]' "$ausgabe" || ! grep -q '^\[  PASSED  \] [1-9]' "$ausgabe"; then
  echo "als nobody übersprungen oder kein Test gelaufen"
  exit 1
fi
