#!/usr/bin/env bash
# Builds Quillet and runs every test twice: in a release tree with warnings as
# errors, and in a tree built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

jobs=$(nproc)
run_tree() {
    local dir=$1; shift
    echo "== ${dir}: configure and build"
    cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
    cmake --build "$dir" -j "$jobs"
    echo "== ${dir}: test"
    QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

run_tree build-test -DCMAKE_BUILD_TYPE=Release -DQUILLET_WERROR=ON
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp \
    run_tree build-asan -DCMAKE_BUILD_TYPE=Debug -DQUILLET_WERROR=ON -DQUILLET_SANITIZE=ON \
        -DQUILLET_BENCH=OFF
echo "All tests passed in both trees."
