#!/usr/bin/env bash
# Scanning benchmark: generates two trees of 100,000 files in 5,000 folders once (one without .mp3 files, one
# with a tenth of them .mp3 carrying ID3v1, v2.2, v2.3 and v2.4 tags), then times cataloging each against find
# on a warm cache. Usage: bench/run-scan.sh [BUILD_DIR] [DATA_DIR] [RUNS]
set -euo pipefail
build=${1:-build/release}
data=${2:-/tmp/quillon-bench/trees}
runs=${3:-7}
mkdir -p "$data"
[ -d "$data/plain" ] || "$build/bench/quillon-gentree" "$data/plain" --mp3-every 0
[ -d "$data/mp3" ] || "$build/bench/quillon-gentree" "$data/mp3" --mp3-every 10
echo "== no .mp3 files"
"$build/bench/quillon-scan-bench" "$data/plain" --runs "$runs"
echo "== a tenth .mp3, tags read"
"$build/bench/quillon-scan-bench" "$data/mp3" --runs "$runs" --media id3
echo "== a tenth .mp3, file-name media info only (the walk without tag reading)"
"$build/bench/quillon-scan-bench" "$data/mp3" --runs "$runs" --media name
