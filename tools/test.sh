#!/usr/bin/env bash
# Installs what the build needs, builds QUIL and runs every test.
#
# Environment: QUIL_BUILD_DIR (default build), QUIL_WERROR=ON (warnings are errors),
# QUIL_SANITIZE=ON (AddressSanitizer + UndefinedBehaviorSanitizer, built with clang),
# QUIL_BENCH=OFF (skip building the benchmarks).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

tools/setup.sh

build=${QUIL_BUILD_DIR:-build}
args=(-G Ninja -DQUIL_WERROR="${QUIL_WERROR:-OFF}" -DQUIL_SANITIZE="${QUIL_SANITIZE:-OFF}" -DQUIL_BENCH="${QUIL_BENCH:-ON}")
if [ "${QUIL_SANITIZE:-OFF}" = ON ]; then
  args+=(-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug)
  # Qt and fontconfig keep caches for the life of the process; their leaks are not ours.
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
fi
cmake -S . -B "$build" "${args[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)"
