#!/usr/bin/env bash
# Installs the Debian packages needed to build, test and run Rankenwerk.
set -euo pipefail
# fonts-liberation2: the windows' font; qt6-translations-l10n: German texts in Qt's own dialogs.
PAKETE=(g++ cmake make qt6-base-dev qt6-translations-l10n fonts-liberation2 libgl-dev libgtest-dev
        libbenchmark-dev clang clang-format clang-tidy libclang-rt-14-dev xvfb xauth imagemagick
        zlib1g-dev time python3-pil)
fehlend=()
for p in "${PAKETE[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || fehlend+=("$p")
done
[ ${#fehlend[@]} -eq 0 ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "Installiere: ${fehlend[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${fehlend[@]}"
