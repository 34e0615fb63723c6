#!/bin/sh
# Builds the data-layer benchmark in Release in its own build folder and runs it.
#   bench/run.sh [google-benchmark flags]     e.g. --benchmark_filter=rapid --benchmark_min_time=0.5
# QUIL_BENCH_FILE names the demo file (default /tmp/quil-bench-100k-format<N>.qdb); it is written on the
# first run (100,000 members, 1,000,000 donations) and reused afterwards.
# The machine is shared: two build jobs, and short runs unless a flag asks for longer.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUIL_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target data_layer_bench
exec "$build/bench/data_layer_bench" "$@"
