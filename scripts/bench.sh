#!/usr/bin/env bash
# Builds Quillet (Release, in build/), runs every benchmark, measures start-up
# time and peak memory under Xvfb beside an empty Qt window, and prints one table.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)" >&2

out=$(mktemp -d)
trap 'rm -rf "$out"; [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true' EXIT
# Each benchmark in a process of its own: the heap a 100,000-entry benchmark
# leaves behind would slow the next one down by up to half.
for b in build/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue
    echo "running $(basename "$b") ..." >&2
    for name in $(QT_QPA_PLATFORM=offscreen "$b" --benchmark_list_tests | sed 's|/.*||' | sort -u); do
        QT_QPA_PLATFORM=offscreen "$b" --benchmark_filter="^$name/" --benchmark_min_time=0.3 \
            --benchmark_format=json >"$out/$(basename "$b")-$name.json" 2>/dev/null
    done
done

# Start-up: from launch until the window is mapped, and the peak memory.
number=90
while [ -e "/tmp/.X${number}-lock" ]; do number=$((number + 1)); done
display=:$number
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
    DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.05
done
# One launch: prints "microseconds-until-mapped peak-KiB", or fails.
launch() { # name program title
    local name=$1 prog=$2 title=$3 start end pid waited=0
    # A fresh home: no recovered work or recent files to ask about.
    rm -rf "$out/home" && mkdir -p "$out/home"
    start=$(date +%s%N)
    HOME=$out/home DISPLAY=$display /usr/bin/time -f %M -o "$out/mem" "$prog" >"$out/$name.log" 2>&1 &
    pid=$!
    # xdotool's own --sync polls twice a second; poll faster for a fair figure.
    until DISPLAY=$display xdotool search --onlyvisible --name "^${title}\$" >/dev/null 2>&1; do
        sleep 0.02
        waited=$((waited + 1))
        if ! kill -0 "$pid" 2>/dev/null || [ "$waited" -gt 500 ]; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
            return 1
        fi
    done
    end=$(date +%s%N)
    sleep 0.5
    pkill -TERM -P "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    echo "$(( (end - start) / 1000 )) $(tail -1 "$out/mem")"
}
measure() { # name program title
    local name=$1 tries result
    # Xvfb now and then refuses a connection under the polling; such a
    # launch never showed a window and is simply made again.
    for tries in 1 2 3; do
        if result=$(launch "$@"); then
            echo "$name $result" >>"$out/startup.txt"
            return
        fi
    done
}
# Alternate the two programs so that drift on the machine affects both alike.
for run in $(seq 11); do
    measure minimal build/bench/minimal_window MinimalWindow
    measure quillet build/src/quillet ".* - Quillet"
done

python3 scripts/bench_report.py "$out"
