#!/usr/bin/env bash
# Builds the fuzz targets with clang (in build-fuzz/) and runs each one in turn,
# niced, one job at a time. Usage: engine/fuzz/run-fuzz.sh [SECONDS_PER_TARGET]
# New inputs go to fuzz-work/<target>/ (not committed); crashes to fuzz-work/.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-600}

if [ ! -f build-fuzz/CMakeCache.txt ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTROVIK_FUZZ=ON -DTROVIK_BUILD_TESTS=OFF -DTROVIK_BUILD_BENCH=OFF >/dev/null
fi
nice -n 10 cmake --build build-fuzz -j2 --target fuzz_search_page fuzz_detail_page fuzz_page_guard

for target in search_page detail_page page_guard; do
  mkdir -p "fuzz-work/$target"
  echo "== fuzz_$target for ${seconds}s"
  nice -n 10 "build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=65536 \
    -timeout=5 -rss_limit_mb=4096 -artifact_prefix="fuzz-work/$target-" -print_final_stats=1 \
    "fuzz-work/$target" "engine/fuzz/corpus/$target" 2>&1 | tail -n 12
done
