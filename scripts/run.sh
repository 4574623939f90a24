#!/usr/bin/env bash
# Builds Quillet (Release, in build/) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: set DISPLAY (or run under xvfb-run) to start Quillet." >&2
    exit 1
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j "$(nproc)"
exec build/src/quillet "$@"
