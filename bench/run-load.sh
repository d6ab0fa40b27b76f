#!/usr/bin/env bash
# Loading benchmark: generates the default synthetic catalog set once, then times loading against cat and
# measures peak memory. Usage: bench/run-load.sh [BUILD_DIR] [DATA_DIR]
set -euo pipefail
build=${1:-build/release}
data=${2:-/tmp/quillon-bench/catalogs}
if [ ! -d "$data" ]; then
    "$build/bench/quillon-gencatalogs" "$data"
fi
cat "$data"/*.qvl > /dev/null   # warm the page cache
"$build/bench/quillon-load-bench" "$data" --runs 9
"$build/bench/quillon-load-bench" "$data" --memory
