#!/usr/bin/env bash
# Runs a census as N shards with GNU parallel, on this machine or on many, and
# merges them into one summary.
#   scripts/census_parallel.sh -n SHARDS [-j JOBS] [-S LOGINS] [-o FOLDER] [-c CLI] -- CENSUS-OPTIONS...
#     -n SHARDS  how many parts the grid is cut into (each one census process)
#     -j JOBS    processes at once on each machine (default: its cores)
#     -S LOGINS  machines, as GNU parallel's --sshlogin takes them
#                ("4/alice@node1,node2,:" runs there and here); each needs
#                zentorix-cli (-c, or on its PATH) and the census's files at the
#                same absolute paths. Each shard is written there and brought
#                back; a failed shard runs again from its start.
#     -o FOLDER  where the shards and summary.txt go (default: census)
#     -c CLI     the zentorix-cli to run (default: zentorix-cli on the PATH)
# On this machine, shards already in the folder are resumed, so running the
# same line again after a failure finishes only what is missing.
set -euo pipefail

shards="" jobs="" logins="" folder=census cli=zentorix-cli
while getopts "n:j:S:o:c:" option; do
    case $option in
    n) shards=$OPTARG ;;
    j) jobs=$OPTARG ;;
    S) logins=$OPTARG ;;
    o) folder=$OPTARG ;;
    c) cli=$OPTARG ;;
    *) exit 2 ;;
    esac
done
shift $((OPTIND - 1))
[ "${1:-}" = "--" ] && shift
if ! [[ "$shards" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 -n SHARDS [-j JOBS] [-S LOGINS] [-o FOLDER] [-c CLI] -- CENSUS-OPTIONS..." >&2
    exit 2
fi
command -v parallel >/dev/null || { echo "$0: GNU parallel is not installed (package parallel)" >&2; exit 1; }

mkdir -p "$folder"
options=(--will-cite --halt now,fail=1 -q -j "${jobs:-$(nproc 2>/dev/null || echo 2)}")
if [ -z "$logins" ]; then
    parallel "${options[@]}" "$cli" census "$@" --shard "{}/$shards" \
        --output "$folder/shard-{}-of-$shards.jsonl" --resume ::: $(seq 1 "$shards")
else
    # Each shard is written in the same folder (under the home folder) of its
    # machine and brought back here.
    parallel "${options[@]}" --sshlogin "$logins" --workdir . \
        --return "shard-{}-of-$shards.jsonl" --cleanup \
        "$cli" census "$@" --shard "{}/$shards" --output "shard-{}-of-$shards.jsonl" \
        ::: $(seq 1 "$shards")
    for i in $(seq 1 "$shards"); do
        mv "shard-$i-of-$shards.jsonl" "$folder/"
    done
fi

"$cli" census-summary "$folder"/shard-*-of-"$shards".jsonl | tee "$folder/summary.txt"
