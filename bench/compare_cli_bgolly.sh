#!/usr/bin/env bash
# Times whole processes, as a user would run them: zentorix-cli against bgolly
# (Debian package golly) on the very same cells of a 998x998 torus, 1000
# generations of a 50% soup; B3/S23 against QuickLife and the Generations rule
# /2/3 against bgolly's Generations. Both processes include loading the pattern.
#   [REPEATS=n] bench/compare_cli_bgolly.sh [build-dir] [generations]
set -euo pipefail
build=${1:-build}
generations=${2:-1000}
cli="$build/bin/zentorix-cli"
soup="$build/bench/zentorix_soup"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
command -v bgolly >/dev/null || { echo "bgolly not found (apt-get install golly)" >&2; exit 1; }

# Each command runs `repeats` times (default 3): the machine's other load makes
# single runs vary, so the best and the median are both shown.
repeats=${REPEATS:-3}

measure() {  # label, command...: wall seconds (best, median), peak memory
    local label=$1
    shift
    : >"$work/times"
    for ((i = 0; i < repeats; ++i)); do
        /usr/bin/time -f "%e %M" -o "$work/time" "$@" >"$work/out" 2>&1
        cat "$work/time" >>"$work/times"
    done
    sort -n "$work/times" | awk -v l="$label" '
        { wall[NR] = $1; if ($2 > rss) rss = $2 }
        END { printf "  %-34s %6.2f s best %6.2f s median %7.1f MB peak\n",
                     l, wall[1], wall[int((NR + 1) / 2)], rss / 1024 }'
    tail -1 "$work/out" | sed 's/^/      last line: /'
}

"$soup" files "$work"
# bgolly gets the field as our program loaded it, so both run the same cells.
"$cli" convert "$work/life.rle" "$work/life-loaded.rle"
"$cli" run "$work/generations.mcl" --generations 0 --save "$work/generations-loaded.rle" >/dev/null
# The rule line of the file decides in bgolly; it names the torus there.
sed -i 's|^\(x = .*rule = [^:]*\)$|\1:T998,998|' "$work/life-loaded.rle" "$work/generations-loaded.rle"
grep -h '^x = ' "$work/life-loaded.rle" "$work/generations-loaded.rle" | sed 's/^/  bgolly reads: /'

echo "B3/S23, $generations generations, 998x998 torus:"
measure "zentorix-cli run --torus --quiet" "$cli" run "$work/life.rle" --torus --quiet \
    --generations "$generations"
measure "bgolly -a QuickLife" bgolly -a QuickLife -m "$generations" -i "$generations" \
    "$work/life-loaded.rle"
echo "/2/3, $generations generations, 998x998 torus:"
measure "zentorix-cli run --quiet (#WRAP 1)" "$cli" run "$work/generations.mcl" --quiet \
    --generations "$generations"
measure "bgolly -a Generations" bgolly -a Generations -m "$generations" -i "$generations" \
    "$work/generations-loaded.rle"
