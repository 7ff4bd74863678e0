#!/usr/bin/env bash
# Builds the drawing benchmark optimised (in build-bench/ or $1) and prints the
# time of the engine against a bare QPainter::drawLine loop over the same lines.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-bench}
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DRANKENWERK_BENCH=ON >/dev/null
cmake --build "$dir" --target zeichenbench -j"$(nproc)"
QT_QPA_PLATFORM=offscreen "$dir/bench/zeichenbench" "${RUNDEN:-9}"
