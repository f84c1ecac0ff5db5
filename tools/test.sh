#!/usr/bin/env bash
# Builds and runs every test: the Release suite, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, the multi-threaded tests
# under ThreadSanitizer, and the fuzz targets for a bounded time.
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

# ThreadSanitizer, for the tests that run more than one thread: by convention
# their names carry "Thread" or "Concurrent"; the editor's are the value
# hand-off, resizing while values arrive, and the editor inside the wrapper.
# Only their executables (and the bundle they load) are built; a target that
# gains such a test joins the list.
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMURAX_BUILD_BENCH=OFF \
  -DMURAX_SANITIZE=thread >/dev/null
cmake --build build-tsan -j"$jobs" --target murax_vst3_tests murax_vst3_stress_tests murax_vst3_ardour_tests \
  murax_effect_tests murax_control_handoff_tests murax_graphics_core_tests murax_editor_tests
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  ctest --output-on-failure -j"$jobs" -R 'Thread|Concurrent|ArdourTest|ValueHandoff|^Resize\.|EditorInTheWrapper')

if [ -x fuzz/run.sh ]; then
  FUZZ_SECONDS="${FUZZ_SECONDS:-30}" fuzz/run.sh
fi
