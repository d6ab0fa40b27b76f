#!/usr/bin/env bash
# New catalog benchmark: catalogs a tree of 100,000 files in 5,000 folders (no .mp3 files) through the new
# catalog dialog, offscreen, and with quillon-cli catalog, on a warm cache. The dialog's goal is at most
# 1.2 times the command's time. Usage: bench/run-newcat.sh [BUILD_DIR] [DATA_DIR] [RUNS]
set -euo pipefail
build=${1:-build/release}
data=${2:-/tmp/quillon-bench/trees}
runs=${3:-5}
mkdir -p "$data"
[ -d "$data/plain" ] || "$build/bench/quillon-gentree" "$data/plain" --mp3-every 0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
find "$data/plain" > /dev/null  # warm the cache
"$build/bench/quillon-newcat-bench" "$data/plain" "$work/dialog" --runs "$runs"
best=
for _ in $(seq "$runs"); do
    rm -rf "$work/cli"
    mkdir -p "$work/cli"
    start=$(date +%s%N)
    "$build/src/cli/quillon-cli" --catalogs "$work/cli/" catalog "$data/plain" --name bench > /dev/null
    ms=$(( ($(date +%s%N) - start) / 1000000 ))
    if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
done
echo "quillon-cli catalog: best $best ms over $runs runs"
