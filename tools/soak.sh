#!/usr/bin/env bash
# The long run of the reliability loops: random writing commands under injected I/O errors, a
# full disk and SIGKILL at random writes and moments, for as long as asked; prints the kills and
# I/O errors survived and the losses (rounds that broke a rule).
#
#   tools/soak.sh [seconds, default 3600] [seed]
# Environment: QUIL_BUILD_DIR (default build).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUIL_BUILD_DIR:-$root/build}
seconds=${1:-3600}
cmake --build "$build" --target reliability_soak -j2 >/dev/null
args=(--seconds "$seconds")
if [ $# -ge 2 ]; then args+=(--seed "$2"); fi
QT_QPA_PLATFORM=offscreen exec "$build/tools/reliability_soak" "${args[@]}"
