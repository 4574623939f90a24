#!/usr/bin/env bash
# Builds the benchmarks (Release, in build/) and runs every one of them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
for b in build/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" --benchmark_min_time=0.2 "$@"
done
