#!/usr/bin/env bash
# Builds and runs every test: the Release suite, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the fuzz targets for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMURAX_BUILD_BENCH=OFF \
  -DMURAX_SANITIZE=address,undefined >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j"$jobs")

if [ -x fuzz/run.sh ]; then
  FUZZ_SECONDS="${FUZZ_SECONDS:-30}" fuzz/run.sh
fi
