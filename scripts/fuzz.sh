#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer, UBSan) and runs each
# for a bounded time on its seed corpus: FUZZ_SEKUNDEN per target (default 40).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
SAN="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DRANKENWERK_GUI=OFF -DRANKENWERK_TESTS=OFF -DRANKENWERK_BENCH=OFF -DRANKENWERK_FUZZ=ON \
  -DCMAKE_CXX_FLAGS="$SAN" -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target $(ls fuzz/*_fuzz.cpp | xargs -n1 basename | sed 's/\.cpp$//')
sek=${FUZZ_SEKUNDEN:-40}
for f in fuzz/*_fuzz.cpp; do
  name=$(basename "$f" .cpp)
  korpus=fuzz/korpus/$(echo "${name%_fuzz}" | tr 'A-Z' 'a-z')
  arbeit=$(mktemp -d)
  cp -r "$korpus"/. "$arbeit"/ 2>/dev/null || true
  echo "== $name: ${sek} s"
  if ! ASAN_OPTIONS=detect_leaks=1 ./build-fuzz/fuzz/"$name" -max_total_time="$sek" -max_len=4096 -timeout=10 \
      -print_final_stats=1 -artifact_prefix="$arbeit/" "$arbeit" >"$arbeit.log" 2>&1; then
    tail -n 60 "$arbeit.log"
    echo "Fuzzer $name hat einen Fehler gefunden; Eingabe:"; ls "$arbeit"/crash-* "$arbeit"/timeout-* 2>/dev/null
    exit 1
  fi
  grep -E 'stat::number_of_executed_units' "$arbeit.log" || true
  rm -rf "$arbeit" "$arbeit.log"
done
