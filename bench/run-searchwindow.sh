#!/usr/bin/env bash
# Search from the window: the default synthetic catalog set (1,000,000 files) is searched with Search Now in
# the main window, offscreen, and with the search engine alone, for four queries. The window's goal is at most
# 1.5 times the engine's time (its walk and the sort of the hits).
# Usage: bench/run-searchwindow.sh [BUILD_DIR] [DATA_DIR] [RUNS]
set -euo pipefail
build=${1:-build/release}
data=${2:-/tmp/quillon-bench/catalogs}
runs=${3:-5}
if [ ! -d "$data" ]; then
    "$build/bench/quillon-gencatalogs" "$data"
fi
cat "$data"/*.qvl > /dev/null   # warm the page cache
"$build/bench/quillon-searchwindow-bench" "$data" --runs "$runs"
