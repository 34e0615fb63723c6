#!/usr/bin/env bash
# make_demo's command line: help asked for is help on stdout and success; a command line it
# cannot read is the same text on stderr and status 2; an existing file is never overwritten.
# Usage: make_demo_test.sh <make_demo>
set -uo pipefail
tool=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0

# arguments | status | where the usage goes (out, err)
cases=(
  "--help|0|out"
  "-h|0|out"
  "$scratch/a.qdb --help|0|out"
  "|2|err"
  "--members 5|2|err"
  "$scratch/b.qdb --members|2|err"
  "$scratch/c.qdb --bogus 1|2|err"
  "$scratch/d.qdb --members 0|2|err"
)
for c in "${cases[@]}"; do
  IFS='|' read -r args want where <<<"$c"
  # shellcheck disable=SC2086  # the arguments are words on purpose
  "$tool" $args >"$scratch/out" 2>"$scratch/err"
  status=$?
  [ "$status" -eq "$want" ] || { echo "FAIL [$args]: status $status, not $want"; failures=$((failures + 1)); }
  other=$([ "$where" = out ] && echo err || echo out)
  grep -q '^usage: make_demo' "$scratch/$where" || { echo "FAIL [$args]: no usage on std$where"; failures=$((failures + 1)); }
  [ -s "$scratch/$other" ] && { echo "FAIL [$args]: std$other not empty: $(cat "$scratch/$other")"; failures=$((failures + 1)); }
done
ls "$scratch"/*.qdb >/dev/null 2>&1 && { echo "FAIL: a refused or help command line wrote a file"; failures=$((failures + 1)); }

echo kept >"$scratch/kept.qdb"
"$tool" "$scratch/kept.qdb" --members 3 --donations 3 >/dev/null 2>&1
status=$?
[ "$status" -eq 1 ] || { echo "FAIL: an existing file gave status $status, not 1"; failures=$((failures + 1)); }
[ "$(cat "$scratch/kept.qdb")" = kept ] || { echo "FAIL: an existing file was overwritten"; failures=$((failures + 1)); }

[ $failures -eq 0 ] || exit 1
echo "make_demo: ${#cases[@]} command lines and an existing file as expected"
