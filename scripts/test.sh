#!/usr/bin/env bash
# Installs what is missing, builds and runs the whole test suite twice:
# once as built for use, once with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

bash scripts/build.sh build
(cd build && ctest --output-on-failure -j2)

SAN="-fsanitize=address,undefined -fno-sanitize-recover -fno-omit-frame-pointer"
bash scripts/build.sh build-san -DCMAKE_BUILD_TYPE=Debug -DRANKENWERK_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$SAN" -DCMAKE_EXE_LINKER_FLAGS="$SAN" -DCMAKE_SHARED_LINKER_FLAGS="$SAN"
# Qt's own start-up allocations are not ours to chase; leaks are checked elsewhere.
export ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1
(cd build-san && ctest --output-on-failure -j2)

# Fuzz targets for a bounded time each, then formatting and clang-tidy.
bash scripts/fuzz.sh
bash scripts/pruefen.sh build
