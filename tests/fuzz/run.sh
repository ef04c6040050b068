#!/usr/bin/env bash
# Makes the seed corpora of the fuzz targets from the shipped files and the
# test fixtures, then runs every target.
#   tests/fuzz/run.sh BUILD_DIR SECONDS            each target for SECONDS
#   tests/fuzz/run.sh BUILD_DIR runs=N[,S] [TARGET...]
#                                           each target for N inputs (or S seconds)
#   tests/fuzz/run.sh BUILD_DIR seeds       only make the seed corpora
# SKIP_SEEDS=1 keeps the seed corpora made before (runs side by side).
# A crash, a leak, a sanitizer finding or an input that runs longer than 10 s
# stops the target with a non-zero status; the input is kept in
# BUILD_DIR/fuzz/artifacts. The run fails when any target failed. The
# targets run side by side, FUZZ_JOBS at a time (the number of cores).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../.." && pwd)
build=$(cd "$1" && pwd)
budget=$2
shift 2
bin=$build/fuzz
seeds=$bin/seeds
mkdir -p "$bin/artifacts"
if [ "${SKIP_SEEDS:-0}" != 1 ]; then
rm -rf "$seeds"
mkdir -p "$seeds"

# Element sets: each set of the fixtures alone, as three LF-joined lines.
split_sets() { # file prefix outdir
  awk -v out="$3" -v p="$2" '
    { sub(/\r$/, "") }
    /^#/ { next }
    /^1 / && prev != "" && getline l2 > 0 { sub(/\r$/, "", l2); n++;
      f = sprintf("%s/%s%03d", out, p, n); printf "%s\n%s\n%s", prev, $0, l2 > f; close(f); prev = ""; next }
    { prev = $0 }' "$1"
}
mkdir -p "$seeds/element_set"
split_sets "$src/tests/data/elements_sample.txt" sample "$seeds/element_set"
awk '{ sub(/\r$/, "") } /^1 / { l1 = substr($0, 1, 69) } /^2 / { n++; f = sprintf("%s/ver%03d", out, n);
     printf "VER\n%s\n%s", l1, substr($0, 1, 69) > f; close(f) }' out="$seeds/element_set" "$src/tests/data/SGP4-VER.TLE"

mkdir -p "$seeds/element_file" "$seeds/working_list"
cp "$src/tests/data/elements_sample.txt" "$src/tests/data/elements_sample_horizon.txt" "$src/tests/data/SGP4-VER.TLE" "$seeds/element_file/"
head -c 2000 "$src/tests/data/elements_sample.txt" > "$seeds/element_file/short"
# The working list as the program writes it: three sets, CR LF.
for k in 0 1 2 3; do
  tr -d '\r' < "$src/tests/data/elements_sample.txt" | sed -n "$((k * 9 + 1)),$((k * 9 + 9))p" | sed 's/$/\r/' > "$seeds/working_list/list$k"
done

# Fixed data files: the first byte chooses the file (see data_files.cpp).
mkdir -p "$seeds/data_files"
i=0
for f in clines.dat cnames.dat planets.dat magnitud.dat frequen.dat; do
  { printf "\\$(printf '%03o' $i)"; cat "$src/data/$f"; } > "$seeds/data_files/$f"
  i=$((i + 1))
done
{ printf '\005'; head -c 3500 "$src/data/stars.bin"; } > "$seeds/data_files/stars.bin"

mkdir -p "$seeds/language_file" "$seeds/text_decoding" "$seeds/city_list"
# The language files in pieces of 60 lines, each under its first header.
for f in "$src"/lang/*.ini; do
  split -l 60 -a 2 "$f" "$seeds/language_file/$(basename "$f" .ini)."
done
cp "$src"/lang/*.ini "$src/data/planets.dat" "$src/data/magnitud.dat" "$src/data/cnames.dat" "$seeds/text_decoding/"
head -c 3000 "$src/data/frequen.dat" > "$seeds/text_decoding/frequen"
# The city list in pieces of 40 cities (the whole list is long for a fuzz input).
split -l 40 -a 3 "$src/data/cities.dat" "$seeds/city_list/cities."
ls "$seeds/city_list" | tail -n +31 | sed "s|^|$seeds/city_list/|" | xargs -r rm -f
cp "$seeds/city_list/cities.aaa" "$seeds/text_decoding/"

for t in settings_file download_reply time_reply text_decoding; do
  mkdir -p "$seeds/$t"
  cp "$here/seeds/$t"/* "$seeds/$t/"
done
head -c 3000 "$src/tests/data/elements_sample.txt" > "$seeds/download_reply/elements"
# (head first: a reader that stops early would kill the writer with SIGPIPE)
head -c 3000 "$src/tests/data/elements_sample.txt" | tr -d '\r' > "$seeds/download_reply/elements-lf"
# Inputs that once failed are seeds too, so they are tried on every run.
if [ -d "$here/regressions" ]; then
  for d in "$here"/regressions/*/; do
    [ -d "$d" ] && cp "$d"* "$seeds/$(basename "$d")/" 2>/dev/null || true
  done
fi

fi
[ "$budget" = seeds ] && exit 0

if [ "$#" -gt 0 ]; then targets=("$@"); else
  targets=(); for f in "$bin"/fuzz_*; do targets+=("$(basename "$f" | sed 's/^fuzz_//')"); done
fi
case "$budget" in
  runs=*,*) b=${budget#runs=}; limit=(-runs="${b%,*}" -max_total_time="${b#*,}") ;;
  runs=*) limit=(-runs="${budget#runs=}") ;;
  *) limit=(-max_total_time="$budget") ;;
esac

# One target: its log in BUILD_DIR/fuzz/TARGET.log, its exit status in
# TARGET.status.
fuzz_one() {
  local t=$1 work=$bin/corpus/$1 rc=0
  mkdir -p "$work"
  ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$bin/fuzz_$t" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 -max_len=4096 -print_final_stats=1 \
    -artifact_prefix="$bin/artifacts/$t-" "$work" "$seeds/$t" > "$bin/$t.log" 2>&1 || rc=$?
  echo "$rc" > "$bin/$t.status"
}

# The targets side by side, as many at once as there are cores (FUZZ_JOBS):
# each is one process on one core, so the run takes its budget once per
# batch rather than once per target.
jobs_max=${FUZZ_JOBS:-$(nproc)}
echo "== fuzzing ${#targets[@]} targets (${budget} each), $jobs_max at a time"
running=0
for t in "${targets[@]}"; do
  rm -f "$bin/$t.status"
  if [ "$running" -ge "$jobs_max" ]; then
    wait -n || true
    running=$((running - 1))
  fi
  fuzz_one "$t" &
  running=$((running + 1))
done
wait || true

failed=()
for t in "${targets[@]}"; do
  rc=$(cat "$bin/$t.status" 2>/dev/null || echo missing)
  if [ "$rc" != 0 ]; then
    failed+=("$t")
    echo "== $t failed (status $rc)"
    tail -n 40 "$bin/$t.log" || true
  fi
  echo "== $t: $(grep -E '^stat::number_of_executed_units|^Done' "$bin/$t.log" | tr '\n' ' ' || true)"
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "== fuzz targets that failed: ${failed[*]} (inputs in $bin/artifacts)"
  exit 1
fi
echo "== every fuzz target ran clean"
