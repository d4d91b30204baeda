#!/usr/bin/env bash
# The census recipes as a user runs them: GNU parallel on this machine (two
# shards, two jobs), the same through --sshlogin (":" is this machine), and the
# Slurm array script with the variables Slurm sets; each merged summary must
# equal a single process's census of the same grid.
set -euo pipefail
cli=$1
scripts=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf 'B3/S23\n23/36\nB2/S345/C4\n' >rules.txt
grid=(--rules rules.txt --rules-random 2 --family weighted --weights -1..2 --field 32x32
      --soup 14x14 --density 40 --seeds 1..5 --generations 200 --torus)

"$cli" census "${grid[@]}" --output single.jsonl
"$cli" census-summary single.jsonl >single.txt

"$scripts/census_parallel.sh" -n 2 -j 2 -o local -c "$cli" -- "${grid[@]}" >/dev/null
"$scripts/census_parallel.sh" -n 2 -S 2/: -o ssh -c "$cli" -- "${grid[@]}" >/dev/null 2>&1
for task in 3 4; do
    SLURM_ARRAY_TASK_ID=$task SLURM_ARRAY_TASK_MIN=3 SLURM_ARRAY_TASK_MAX=4 ZENTORIX_CLI=$cli \
        "$scripts/census.sbatch" slurm "${grid[@]}"
done
"$cli" census-summary slurm/shard-*-of-2.jsonl >slurm/summary.txt

status=0
for merged in local/summary.txt ssh/summary.txt slurm/summary.txt; do
    if ! diff -u single.txt "$merged"; then
        echo "FAIL: $merged differs from the single census"
        status=1
    fi
done
runs=$(cat local/shard-*.jsonl | grep -c '"run":')
[ "$runs" -eq 25 ] || { echo "FAIL: the shards hold $runs runs, not 25"; status=1; }
[ $status -eq 0 ] && echo "1 passed, 0 failed" || echo "0 passed, 1 failed"
exit $status
