#!/usr/bin/env bash
# Main window benchmarks, offscreen, release build:
#  - start-up: from process start to the first paint of the catalog tree on the 1,000,000-file catalog set,
#    against quillon-cli volumes on the same set, both timed per process start, runs interleaved (goal <= 1.3x);
#  - a folder of 100,000 files shown in every view style against a QTreeWidget fill of the same rows (goal
#    <= 0.15x), and sorted by a header click against sort -f over its names (goals <= 0.25x by size and date,
#    <= 1.0x by name): quillon-view-bench.
# Usage: bench/run-window.sh [BUILD_DIR] [DATA_DIR] [RUNS]
set -euo pipefail
build=$(cd "${1:-build/release}" && pwd)
data=${2:-/tmp/quillon-bench}
runs=${3:-7}
mkdir -p "$data"
[ -d "$data/catalogs" ] || "$build/bench/quillon-gencatalogs" "$data/catalogs"
[ -d "$data/folder100k" ] ||
    "$build/bench/quillon-gencatalogs" "$data/folder100k" --volumes 1 --files 100000 --folders 0
catalogs=$(cd "$data/catalogs" && pwd)
export QT_QPA_PLATFORM=offscreen

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '[General]\r\nFirstStart=0\r\nCatalogFolder=%s/\r\n' "$catalogs" > "$work/quillon.ini"
cat "$catalogs"/*.qvl > /dev/null  # warm the page cache

# Wall milliseconds of one command, run in the folder given first.
wall_ms() {
    local dir=$1
    shift
    local start
    start=$(date +%s%N)
    (cd "$dir" && "$@" > /dev/null)
    echo $((($(date +%s%N) - start) / 1000000))
}
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

cli=()
window=()
for _ in $(seq "$runs"); do
    cli+=("$(wall_ms "$work" "$build/src/cli/quillon-cli" --catalogs "$catalogs/" volumes)")
    window+=("$(wall_ms "$work" "$build/bench/quillon-startup-bench")")
done
cli_median=$(median "${cli[@]}")
window_median=$(median "${window[@]}")
echo "start-up on $(ls "$catalogs" | wc -l) catalogs, $runs runs, medians:"
echo "  quillon-cli volumes         $cli_median ms   (runs: ${cli[*]})"
echo "  window to the painted tree  $window_median ms   (runs: ${window[*]})"
awk -v w="$window_median" -v c="$cli_median" 'BEGIN { printf "  ratio %.2f (goal <= 1.3)\n", w / c }'

echo
"$build/bench/quillon-view-bench" "$data/folder100k" --runs "$runs"
