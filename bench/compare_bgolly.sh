#!/usr/bin/env bash
# Runs the 997x997 torus soup (998x998 torus) for 1000 generations with our step
# and with bgolly (Debian package golly) on the very same cells, B3/S23 against
# QuickLife and the Generations rule /2/3 against bgolly's Generations, and
# prints wall time, peak memory and the final population of both.
#   bench/compare_bgolly.sh [build-dir] [generations]
set -euo pipefail
build=${1:-build}
generations=${2:-1000}
soup="$build/bench/zentorix_soup"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

command -v bgolly >/dev/null || { echo "bgolly not found (apt-get install golly)" >&2; exit 1; }
[ -x "$soup" ] || { echo "$soup not built" >&2; exit 1; }

measure() {  # label, command...: prints wall seconds, peak KB, last population
    local label=$1
    shift
    /usr/bin/time -f "%e %M" -o "$work/time" "$@" >"$work/out" 2>&1
    local pop
    pop=$(grep -E '^[0-9,]+: [0-9,]+$' "$work/out" | tail -1 | sed 's/.*: //; s/,//g')
    read -r wall rss <"$work/time"
    awk -v l="$label" -v w="$wall" -v r="$rss" -v p="$pop" \
        'BEGIN { printf "  %-30s %7.2f s wall %7.1f MB peak   population %s\n", l, w, r / 1024, p }'
}

for rule in life generations; do
    if [ $rule = life ]; then algo=QuickLife; else algo=Generations; fi
    # Writing the soup happens before the timed loop of zentorix_soup.
    "$soup" $rule 0 1 "$work/$rule.rle" >/dev/null
    echo "$rule ($generations generations):"
    measure "zentorix_soup (all threads)" "$soup" $rule "$generations" 0
    measure "zentorix_soup (1 thread)" "$soup" $rule "$generations" 1
    measure "bgolly -a $algo" bgolly -a $algo -m "$generations" -i "$generations" "$work/$rule.rle"
done
