#!/usr/bin/env bash
# Builds the libFuzzer programs with clang in build-fuzz and runs each one for a while.
#
#   tools/fuzz.sh [-p] [seconds] [fuzz_target ...]
#
# seconds: how long each program runs (default 300). Without targets, every fuzz_* program of
# tests/fuzz is built and run. -p runs the programs side by side instead of one after another.
# Each corpus grows in build-fuzz/corpus/<target> (seeded from tests/fuzz/corpus/<target>), a
# failing input lands in build-fuzz/artifacts/<target>/, the full output in build-fuzz/logs/.
# Replay a failure: build-fuzz/tests/fuzz/<target> <input file>
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
seconds=300
parallel=0
targets=()
for arg in "$@"; do
  case $arg in
    -p|--parallel) parallel=1 ;;
    -h|--help) sed -n '2,10p' "$0"; exit 0 ;;
    ''|*[!0-9]*) targets+=("$arg") ;;
    *) seconds=$arg ;;
  esac
done

mkdir -p "$build/logs"
build_log=$build/logs/build.log
if ! cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
     -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUIL_FUZZ=ON -DQUIL_BENCH=OFF >"$build_log" 2>&1; then
  tail -n 30 "$build_log" >&2
  echo "fuzz.sh: configuring $build failed, see $build_log" >&2
  exit 2
fi
build_targets=("${targets[@]}")
[ ${#build_targets[@]} -gt 0 ] || build_targets=(fuzzers)
if ! cmake --build "$build" --target "${build_targets[@]}" >>"$build_log" 2>&1; then
  grep -E 'error|FAILED' "$build_log" | head -n 30 >&2 || true
  echo "fuzz.sh: building ${build_targets[*]} failed, see $build_log" >&2
  exit 2
fi
if [ ${#targets[@]} -eq 0 ]; then
  for exe in "$build"/tests/fuzz/fuzz_*; do
    if [ -f "$exe" ] && [ -x "$exe" ]; then
      targets+=("$(basename "$exe")")
    fi
  done
fi
if [ ${#targets[@]} -eq 0 ]; then
  echo "fuzz.sh: no fuzz_* programs in $build/tests/fuzz" >&2
  exit 2
fi

export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# Runs one program; prints one line and fails when libFuzzer found something.
run_one() {
  local target=$1
  local exe=$build/tests/fuzz/$target
  local corpus=$build/corpus/$target
  local artifacts=$build/artifacts/$target/
  local log=$build/logs/$target.log
  mkdir -p "$corpus" "$artifacts"
  local flags=(-max_total_time="$seconds" -timeout=30 -artifact_prefix="$artifacts")
  local seeds=()
  [ -f "$root/tests/fuzz/$target.dict" ] && flags+=(-dict="$root/tests/fuzz/$target.dict")
  [ -d "$root/tests/fuzz/corpus/$target" ] && seeds+=("$root/tests/fuzz/corpus/$target")
  if "$exe" "${flags[@]}" "$corpus" "${seeds[@]}" >"$log" 2>&1 </dev/null; then
    local runs
    runs=$(sed -n 's/.*Done \([0-9]*\) runs in \([0-9]*\) second.*/\1 runs in \2 s/p' "$log" | tail -n 1)
    echo "$target: OK, ${runs:-no run count}, corpus $(find "$corpus" -type f | wc -l) inputs"
  else
    local input
    input=$(ls -t "$artifacts" 2>/dev/null | head -n 1 || true)
    echo "$target: FAILED, see $log${input:+, input $artifacts$input}"
    return 1
  fi
}

status=0
if [ "$parallel" -eq 1 ]; then
  pids=()
  for target in "${targets[@]}"; do
    run_one "$target" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do
    wait "$pid" || status=1
  done
else
  for target in "${targets[@]}"; do
    run_one "$target" || status=1
  done
fi
exit $status
