#!/usr/bin/env bash
# A long fuzzing campaign over every fuzz target (or the ones named), one after
# another so that each has the machine's cores to itself:
#   scripts/fuzz_campaign.sh [-t SECONDS | -r RUNS] [--no-build] [TARGET...]
# TARGET is a name such as rle or rle_fuzz; the default is 60 seconds each. The
# corpus each run grows is kept in build-san/campaign/<name>/ (seeded from
# tests/fuzz/corpus/<name>/), findings go to build-san/campaign/findings/<name>/,
# each run's log to build-san/campaign/logs/<name>.log. Ends with a table of
# executions, speed, coverage and findings per target; exits 1 when any target
# found something.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build-san"
limit=(-max_total_time=60)
build_first=1
targets=()
while [ $# -gt 0 ]; do
    case "$1" in
    -t) limit=(-max_total_time="$2"); shift 2 ;;
    -r) limit=(-runs="$2"); shift 2 ;;
    --no-build) build_first=0; shift ;;
    -h | --help) sed -n '2,10p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "unknown option: $1" >&2; exit 2 ;;
    *) targets+=("${1%_fuzz}"); shift ;;
    esac
done

[ "$build_first" -eq 1 ] && "$root/scripts/zentorix.sh" build-sanitized
if [ ${#targets[@]} -eq 0 ]; then
    for source in "$root"/tests/fuzz/*_fuzz.cpp; do
        name=$(basename "$source" .cpp)
        targets+=("${name%_fuzz}")
    done
fi

campaign="$build/campaign"
mkdir -p "$campaign/logs"
rows=()
found_any=0
for name in "${targets[@]}"; do
    binary="$build/tests/fuzz/${name}_fuzz"
    if [ ! -x "$binary" ]; then
        echo "no fuzz target $name ($binary)" >&2
        exit 2
    fi
    corpus="$campaign/$name"
    findings="$campaign/findings/$name"
    log="$campaign/logs/$name.log"
    mkdir -p "$corpus" "$findings"
    seeds=()
    [ -d "$root/tests/fuzz/corpus/$name" ] && seeds=("$root/tests/fuzz/corpus/$name")
    echo "== $name" >&2
    status=0
    "$binary" "${limit[@]}" -rss_limit_mb=2048 -timeout=10 -max_len=65536 \
        -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "${seeds[@]}" \
        >"$log" 2>&1 </dev/null || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
    count=$(find "$findings" -type f | wc -l)
    if [ "$status" -ne 0 ] || [ "$count" -gt 0 ]; then
        found_any=1
        what="$count in $findings (exit $status, see $log)"
    else
        what="none"
    fi
    rows+=("$(printf '%-14s %12s %9s %7s %7s  %s' "$name" "${runs:-?}" "${speed:-?}" \
        "${cov:-?}" "${ft:-?}" "$what")")
done

printf '%-14s %12s %9s %7s %7s  %s\n' target executions exec/s cov ft findings
printf '%s\n' "${rows[@]}"
exit "$found_any"
