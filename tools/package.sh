#!/usr/bin/env bash
# Builds the Debian package of QUIL: a Release build of the program (tests and benchmarks are
# not built), then cpack. Prints the package's path.
#
# Environment: QUIL_BUILD_DIR (default build-rel).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

tools/setup.sh

build=${QUIL_BUILD_DIR:-build-rel}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target quil quil_template quil_images quil_man_page
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build/package" >/dev/null
ls "$build"/package/quil_*.deb
