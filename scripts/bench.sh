#!/usr/bin/env bash
# Builds Quillet (Release, in build/), runs every benchmark, measures start-up
# time and peak memory under Xvfb beside an empty Qt window, and prints one table.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"

out=$(mktemp -d)
trap 'rm -rf "$out"; [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true' EXIT
for b in build/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "running $(basename "$b") ..." >&2
    QT_QPA_PLATFORM=offscreen "$b" --benchmark_min_time=0.3 --benchmark_format=json \
        >"$out/$(basename "$b").json" 2>/dev/null
done

# Start-up: from launch until the window is mapped, and the peak memory.
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb_pid=$!
sleep 1
measure() { # name program title
    local name=$1 prog=$2 title=$3
    for run in 1 2 3 4 5 6 7; do
        local start end
        start=$(date +%s%N)
        DISPLAY=$display /usr/bin/time -f %M -o "$out/mem" "$prog" >/dev/null 2>&1 &
        local pid=$!
        # xdotool's own --sync polls twice a second; poll faster for a fair figure.
        until DISPLAY=$display xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1; do
            sleep 0.005
        done
        end=$(date +%s%N)
        sleep 0.5
        pkill -TERM -P "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        echo "$name $(( (end - start) / 1000 )) $(tail -1 "$out/mem")" >>"$out/startup.txt"
    done
}
measure minimal build/bench/minimal_window MinimalWindow
measure quillet build/src/quillet Quillet

python3 scripts/bench_report.py "$out"
