#!/usr/bin/env bash
# Builds Quillet and runs every test twice: in a release tree with warnings as
# errors, and in a tree built with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# Formatting first: it takes a second and a misformatted tree fails CI anyway.
echo "== clang-format"
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

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

# What an installation puts where, checked by the freedesktop validators, and
# the installed programs in their installed mode.
echo "== install into a temporary prefix"
stage=$(mktemp -d)
DESTDIR=$stage cmake --install build-test --prefix /usr >/dev/null
bash scripts/check-install.sh "$stage"
rm -rf "$stage"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp \
    run_tree build-asan -DCMAKE_BUILD_TYPE=Debug -DQUILLET_WERROR=ON -DQUILLET_SANITIZE=ON \
        -DQUILLET_BENCH=OFF
# Each fuzz target for a short, bounded time on a copy of its seed corpus.
if command -v clang++-14 >/dev/null; then
    echo "== build-fuzz: configure and build"
    CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DQUILLET_FUZZ=ON -DQUILLET_SANITIZE=ON -DQUILLET_TESTS=OFF -DQUILLET_BENCH=OFF >/dev/null
    cmake --build build-fuzz -j "$jobs" --target fuzz_datafile fuzz_listfile fuzz_composer fuzz_import
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    for target in datafile listfile composer import; do
        mkdir -p "$work/$target"
        cp fuzz/corpus/$target/* "$work/$target/"
        echo "== fuzz_$target: 20 s"
        build-fuzz/fuzz/fuzz_$target -max_total_time=20 -timeout=10 -rss_limit_mb=2048 \
            -artifact_prefix="$work/$target-" "$work/$target" 2>"$work/$target.log" ||
            { tail -40 "$work/$target.log"; echo "fuzz_$target found a failure" >&2; exit 1; }
    done
fi
# The Windows build and its tests under wine, when the Windows Qt has been
# built (scripts/build-windows.sh, about an hour, once); it is too long for here.
if [ -f "${QUILLET_CACHE:-$HOME/.cache/quillet}/qt6-windows/6.4.2/.build-complete" ]; then
    echo "== Windows: cross-build, pack, test under wine"
    scripts/build-windows.sh --test
else
    echo "== Windows: skipped, no cached Windows Qt (scripts/build-windows.sh builds it once)"
fi
echo "All tests passed."
