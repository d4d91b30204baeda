#!/bin/sh
# Records the population series of every experiment in data/Museum into
# tests/data/museum_populations.txt, which the Museum test compares with.
# Run it only after a deliberate change of the engine, the native format or the
# library, and review the difference before committing it:
#
#   tests/cli/record_museum.sh [path/to/zentorix-cli]     (default: build/bin/zentorix-cli)
#   git diff tests/data/museum_populations.txt
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
cli=${1:-$root/build/bin/zentorix-cli}
options="--generations 100 --plane --seed 1"
out=$root/tests/data/museum_populations.txt
tmp=$(mktemp "$out.XXXXXX")
errors=$(mktemp)
trap 'rm -f "$tmp" "$errors"' EXIT

{
    echo "# Population series of the experiments in data/Museum: for each file the output of"
    echo "#   zentorix-cli run FILE $options"
    echo "# (the opened field, then: generation live first born died). Made by"
    echo "# tests/cli/record_museum.sh; checked by the Museum test."
    echo "# options: $options"
    cd "$root/data/Museum"
    find . -type f | sed 's|^\./||' | LC_ALL=C sort | while IFS= read -r file; do
        echo "== $file"
        # shellcheck disable=SC2086
        "$cli" run "$file" $options 2>"$errors" </dev/null
        if [ -s "$errors" ]; then
            echo "record_museum.sh: $file:" >&2
            cat "$errors" >&2
            exit 1
        fi
    done
} >"$tmp"
mv "$tmp" "$out"
echo "recorded $(grep -c '^== ' "$out") experiments into $out"
