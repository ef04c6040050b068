#!/usr/bin/env bash
# The long fuzz run: every target (or those named) for 10 million inputs or
# SECONDS (default an hour), FUZZ_JOBS (default three) at a time, at the lowest
# priority.
#   tests/fuzz/long.sh BUILD_DIR [SECONDS] [TARGET...]
# Each target's figures are in BUILD_DIR/fuzz/<target>.log; a summary line
# per target is printed at the end.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
seconds=${2:-3600}
shift $(( $# >= 2 ? 2 : 1 ))
if [ "$#" -gt 0 ]; then targets=("$@"); else
  targets=(); for f in "$build"/fuzz/fuzz_*; do targets+=("$(basename "$f" | sed 's/^fuzz_//')"); done
fi
FUZZ_JOBS=${FUZZ_JOBS:-3} nice -n 10 "$here/run.sh" "$build" "runs=10000000,$seconds" "${targets[@]}"
status=$?
for t in "${targets[@]}"; do
  log=$build/fuzz/$t.log
  printf '%-16s %s\n' "$t" "$(grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log" | sed 's/stat:://' | tr -s ' \n' ' ') $(grep -cE 'ERROR|check failed|Timeout|leak' "$log") findings"
done
exit $status
