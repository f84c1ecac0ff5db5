#!/usr/bin/env bash
# Sets up, builds (Release, into build/), installs and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
cmake --build build --target install_bundle
./build/tools/murax_render "$@"
