#!/usr/bin/env bash
# Search benchmark: generates the default synthetic catalog set once (1,000,000 files), then times the search
# phase over all volumes against LC_ALL=C grep -c over the same names. Usage: bench/run-search.sh [BUILD_DIR]
# [DATA_DIR] [RUNS]
set -euo pipefail
build=${1:-build/release}
data=${2:-/tmp/quillon-bench/catalogs}
runs=${3:-9}
if [ ! -d "$data" ]; then
    "$build/bench/quillon-gencatalogs" "$data"
fi
cat "$data"/*.qvl > /dev/null   # warm the page cache
"$build/bench/quillon-search-bench" "$data" --runs "$runs"
