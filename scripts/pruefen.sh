#!/usr/bin/env bash
# Code checks: formatting (clang-format) and clang-tidy on the project's sources.
# Needs a configured build directory with compile_commands.json (default build/).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
quellen=$(git ls-files '*.cpp' '*.h' 2>/dev/null ||
  find helpers rules turtle engine pictures drawing gui mainwindow tools packaging bench fuzz -name '*.cpp' -o -name '*.h')
echo "== clang-format"
clang-format --dry-run --Werror $quellen
echo "== clang-tidy (sources without tests)"
[ -f "$dir/compile_commands.json" ] || cmake -S . -B "$dir" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null
run-clang-tidy -quiet -p "$dir" -j "$(nproc)" "$(pwd)/(helpers|rules|turtle|engine|pictures|drawing|gui|mainwindow|tools|packaging)/[^/]*(?<!_test)\.cpp$" \
  >"$dir/clang-tidy.log" 2>&1 || { grep -E 'error:|warning:' "$dir/clang-tidy.log" | sort -u | head -50; exit 1; }
echo "clang-tidy: keine Befunde"
