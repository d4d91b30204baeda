#!/usr/bin/env bash
# The census's figures on this machine:
#   1. zentorix_census_bench: census generations per second against the bare step
#      (64x64 torus soups of Conway's rule, 1000 generations or until settled);
#   2. the same census with --jobs 1 and --jobs 2 (wall time, median of REPEATS);
#   3. peak memory of a census of 10,000 runs (/usr/bin/time -v);
#   4. the time of a GIF of 200 generations of a 200x200 field at scale 2, and its
#      frame count by ImageMagick's identify.
#   bench/census_bench.sh [BUILD]     (BUILD defaults to ./build)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
cli=$build/bin/zentorix-cli
repeats=${REPEATS:-3}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
echo "load: $(uptime)"

echo "== 1. census against the bare step"
"$build/bench/zentorix_census_bench" --benchmark_repetitions="$repeats" \
    --benchmark_report_aggregates_only=true 2>/dev/null | grep -E "median|Benchmark"

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
seconds() { /usr/bin/time -f %e "$@" 2>&1 >/dev/null | tail -1; }

echo "== 2. jobs"
grid=(--rules-random 8 --family life --seed 3 --field 64x64 --soup 64x64 --density 35 --torus
      --seeds 1..8 --generations 1000)
for jobs in 1 2; do
    for r in $(seq "$repeats"); do seconds "$cli" census "${grid[@]}" --jobs "$jobs"; done |
        median | xargs printf "--jobs $jobs: %s s (median of $repeats)\n"
done

echo "== 3. memory of 10,000 runs"
/usr/bin/time -v "$cli" census --rules-random 100 --family weighted --weights -1..2 \
    --field 64x64 --soup 32x32 --seeds 1..100 --generations 200 --jobs 2 \
    --output ten-thousand.jsonl 2>time.txt
grep -E "Maximum resident|Elapsed" time.txt
echo "runs written: $(grep -c '"run":' ten-thousand.jsonl)"

echo "== 4. GIF of 200 generations of a 200x200 field at scale 2"
awk 'BEGIN { srand(5); printf "#Zentorix\r\n#FileType zlf\r\n";
             printf "%-22s%s\r\n%-22s%s\r\n[Main Field]\r\n", "#FieldHeight:", 200, "#FieldWidth:", 200;
             for (y = 0; y < 200; y++) { row = "";
                 for (x = 0; x < 200; x++) row = row (rand() < 0.35 ? "A" : ".");
                 printf "#L %s%s\r\n", (y ? "" : ""), row (y < 199 ? "$" : "") } }' >soup.zlf
for r in $(seq "$repeats"); do
    seconds "$cli" run soup.zlf --generations 200 --torus --quiet --gif soup.gif --gif-scale 2
done | median | xargs printf "GIF written in %s s (median of $repeats)\n"
echo "frames: $(identify soup.gif | wc -l), size $(stat -c %s soup.gif) bytes"
