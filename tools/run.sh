#!/usr/bin/env bash
# Sets up, builds (Release, into build/), installs the bundle into ~/.vst3 and
# runs the main job: murax-render hosts the built bundle and, without
# arguments, writes the demo (the phrase dry and through MURAX, the response
# plot, the editor snapshot) into build/demo/. Arguments go to murax-render
# (see --help).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
cmake --build build --target install_bundle
./build/tools/murax-render "$@"
