#!/usr/bin/env bash
# Cross-builds Quillet for 64-bit Windows on Debian 12.
#
# Stages:
#   1. deps      install the cross packages (scripts/install-deps.sh windows)
#   2. qt        build Qt for Windows from Debian's qt6-base source, once:
#                cached in $QUILLET_CACHE/qt6-windows/<version>/
#   3. quillet   cross-build Quillet with that Qt into build-windows/, then pack
#                dist/quillet-<version>-windows-x64.zip (portable) and
#                dist/quillet-<version>-windows-x64-setup.exe (NSIS installer)
#   4. test      (--test) the core tests and quillet-compose's golden checks
#                under wine64, and screenshots of quillet.exe under Xvfb
#
# Usage: scripts/build-windows.sh [--qt-only] [--test]
# The Qt build takes about an hour on two cores, once; the rest minutes.
# Heavy steps run under `nice -n 19` so they only take idle CPU.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD

QT_ONLY=0
TEST=0
for arg in "$@"; do
    case "$arg" in
    --qt-only) QT_ONLY=1 ;;
    --test) TEST=1 ;;
    -h | --help)
        sed -n '2,17p' "$0" | sed 's/^# \{0,1\}//'
        exit 0
        ;;
    *)
        echo "unknown option: $arg" >&2
        exit 2
        ;;
    esac
done

QT_VERSION=6.4.2
CACHE=${QUILLET_CACHE:-$HOME/.cache/quillet}
QT_DIR=$CACHE/qt6-windows
QT_PREFIX=$QT_DIR/$QT_VERSION
QT_STAMP=$QT_PREFIX/.build-complete
QT_SRC_ROOT=$QT_DIR/src
QT_BUILD=$QT_DIR/build-$QT_VERSION
TOOLCHAIN=$QT_DIR/mingw-w64-x86_64-posix.cmake
TIMES=$QT_DIR/build-times.txt
APT_DIR=$CACHE/apt
JOBS=2
NICE=(nice -n 19)

export QUILLET_WINDOWS_QT=$QT_PREFIX QUILLET_WINDOWS_TOOLCHAIN=$TOOLCHAIN

log() { echo "== $*"; }

# Runs "$@" and appends its wall time, in seconds, to the times file.
timed() {
    local name=$1
    shift
    local start=$SECONDS
    "$@"
    printf '%-28s %6d s\n' "$name" $((SECONDS - start)) >>"$TIMES"
}

# ---------------------------------------------------------------- stage 1
stage_deps() {
    log "packages for the Windows build"
    "$ROOT/scripts/install-deps.sh" windows
}

# ---------------------------------------------------------------- stage 2
# The Debian mirror the machine already uses, so the source comes from the
# same place as the binary packages.
debian_mirror() {
    local uri
    uri=$(grep -hsE '^(URIs:|deb )' /etc/apt/sources.list /etc/apt/sources.list.d/*.sources /etc/apt/sources.list.d/*.list |
        grep -oE 'https?://[^ ]+/debian/?' | grep -v security | head -n1 || true)
    echo "${uri:-http://deb.debian.org/debian}"
}

# A private apt configuration: its own sources.list with the deb-src line,
# lists and caches, so the system's apt state is left alone.
APT_OPTS=()
setup_private_apt() {
    mkdir -p "$APT_DIR/lists/partial" "$APT_DIR/cache/archives/partial"
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $(debian_mirror) bookworm main" \
        >"$APT_DIR/sources.list"
    APT_OPTS=(
        -o Dir::Etc::SourceList="$APT_DIR/sources.list"
        -o Dir::Etc::SourceParts=-
        -o Dir::State::Lists="$APT_DIR/lists"
        -o Dir::Cache="$APT_DIR/cache"
        -o APT::Sandbox::User=root
    )
}

fetch_qt_source() {
    local version
    # The host's qt6-base-dev provides moc, rcc and uic, so use its exact version.
    version=$(dpkg-query -W -f='${Version}' qt6-base-dev)
    case "$version" in
    "$QT_VERSION"+*) ;;
    *)
        echo "host qt6-base-dev is $version, expected $QT_VERSION" >&2
        exit 1
        ;;
    esac
    QT_SRC=$QT_SRC_ROOT/qt6-base-${version%-*}
    if [ -f "$QT_SRC/.unpacked" ]; then
        log "Qt source already unpacked in $QT_SRC"
        return
    fi
    setup_private_apt
    mkdir -p "$QT_SRC_ROOT"
    log "fetching Debian's qt6-base $version source"
    apt-get "${APT_OPTS[@]}" -qq update
    rm -rf "$QT_SRC"
    (cd "$QT_SRC_ROOT" && apt-get "${APT_OPTS[@]}" --download-only source "qt6-base=$version")
    log "unpacking into $QT_SRC"
    # The upstream tarball as it is; Debian's patches are for its own build.
    (cd "$QT_SRC_ROOT" && dpkg-source --skip-patches -x "qt6-base_${version#*:}.dsc" "$QT_SRC")
    touch "$QT_SRC/.unpacked"
}

write_toolchain() {
    mkdir -p "$QT_DIR"
    cat >"$TOOLCHAIN" <<'EOF'
# x86_64 Windows with MinGW-w64's posix thread model (std::thread and
# std::mutex work; needs libwinpthread-1.dll at run time).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF
}

# Only what Quillet uses: Core, Gui, Widgets, Test, the qwindows platform
# plugin and the windowsvista style, and the offscreen plugin the widget tests
# run on. Third-party code comes bundled, since Debian has no MinGW builds of it.
QT_CONFIGURE_OPTS=(
    -G Ninja
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN"
    -DCMAKE_INSTALL_PREFIX="$QT_PREFIX"
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_network=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_printsupport=OFF
    # INPUT_opengl=no also drops dynamic OpenGL, which FEATURE_opengl alone keeps.
    -DINPUT_opengl=no
    -DFEATURE_opengl=OFF
    -DFEATURE_vulkan=OFF
    -DFEATURE_icu=OFF
    -DFEATURE_pkg_config=OFF
    -DFEATURE_zstd=OFF
    # FreeType only for the offscreen plugin, which needs it; the program's
    # own windows draw text with GDI.
    -DFEATURE_freetype=ON
    -DFEATURE_system_freetype=OFF
    -DFEATURE_fontconfig=OFF
    -DFEATURE_jpeg=OFF
    # Debian's source drops the Wintab headers (their licence forbids
    # changes), which tablet input and the extra direct2d plugin include.
    -DFEATURE_tabletevent=OFF
    -DFEATURE_direct2d=OFF
    # Without Direct2D, QtGui leaves out the DirectWrite font database that the
    # qwindows plugin would link to; GDI's serves (and works under wine).
    -DFEATURE_directwrite3=OFF
    -DFEATURE_system_zlib=OFF
    -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_png=OFF
    -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_system_textmarkdownreader=OFF
)

configure_qt() {
    local options
    options=$(printf '%s\n' "$QT_SRC" "${QT_CONFIGURE_OPTS[@]}")
    # An interrupted build with the same options resumes where it stopped.
    if [ -f "$QT_BUILD/build.ninja" ] && [ "$(cat "$QT_BUILD/.configure-options" 2>/dev/null)" = "$options" ]; then
        log "Qt already configured in $QT_BUILD with these options"
        return
    fi
    log "configuring Qt for Windows in $QT_BUILD"
    rm -rf "$QT_BUILD"
    # Keep host .pc files out of the cross build.
    PKG_CONFIG_LIBDIR=/nonexistent "${NICE[@]}" cmake -S "$QT_SRC" -B "$QT_BUILD" "${QT_CONFIGURE_OPTS[@]}"
    echo "$options" >"$QT_BUILD/.configure-options"
}

build_qt() {
    log "building Qt ($JOBS jobs, nice 19)"
    "${NICE[@]}" cmake --build "$QT_BUILD" --parallel "$JOBS"
}

install_qt() {
    log "installing Qt into $QT_PREFIX"
    rm -rf "$QT_PREFIX"
    "${NICE[@]}" cmake --install "$QT_BUILD"
}

stage_qt() {
    if [ -f "$QT_STAMP" ]; then
        log "Windows Qt $QT_VERSION already built: $QT_PREFIX"
        return
    fi
    mkdir -p "$QT_DIR"
    echo "# Windows Qt $QT_VERSION, $(date -u '+%Y-%m-%d %H:%M:%S UTC')" >>"$TIMES"
    local start=$SECONDS
    timed "fetch and unpack source" fetch_qt_source
    write_toolchain
    timed "configure" configure_qt
    timed "build" build_qt
    timed "install" install_qt
    printf '%-28s %6d s\n' "total" $((SECONDS - start)) >>"$TIMES"
    # Written last: its presence means the install is complete.
    echo "$QT_VERSION $(date -u '+%Y-%m-%dT%H:%M:%SZ')" >"$QT_STAMP"
    log "build times ($TIMES)"
    cat "$TIMES"
}

# ---------------------------------------------------------------- stage 3
WIN_BUILD=$ROOT/build-windows
DIST=$ROOT/dist
VERSION=$(sed -nE 's/^project\(Quillet VERSION ([0-9.]+).*/\1/p' "$ROOT/CMakeLists.txt")
MINGW_CXX=x86_64-w64-mingw32-g++-posix
OLDER=0.0.1 # the version the upgrade check installs first

# The MinGW runtime DLLs the programs need beside them.
runtime_dlls() {
    local dll
    for dll in libstdc++-6.dll libgcc_s_seh-1.dll; do
        "$MINGW_CXX" -print-file-name="$dll"
    done
    ls /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll
}

# ctest runs each Windows test program through this, under wine: Qt's and
# MinGW's DLLs on the path, Qt's offscreen platform with FreeType reading the
# same fonts as on Linux, and QTest's log in a file (wine passes no console
# output back when redirected), shown afterwards.
write_test_runner() {
    local fonts=$WIN_BUILD/fonts font
    mkdir -p "$fonts"
    for font in /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf \
        /usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf \
        /usr/share/fonts/opentype/ipafont-gothic/ipag.ttf \
        /usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf \
        /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf; do
        [ -f "$font" ] && ln -sf "$(readlink -f "$font")" "$fonts/"
    done
    {
        echo '#!/usr/bin/env bash'
        declare -f win_path run_wine
        cat <<EOF
QT_PREFIX='$QT_PREFIX' MINGW_CXX='$MINGW_CXX'
export WINEPREFIX=\${WINEPREFIX:-$CACHE/wine} QT_QPA_FONTDIR='$(win_path "$fonts")'
# wine keeps Linux's QT_ variables from Windows programs; WINEQT_ ones reach
# them as QT_ (the offscreen platform, its screens, the font folder).
for v in \$(compgen -e | grep '^QT_'); do export "WINE\$v=\${!v}"; done
log=\$(mktemp --suffix=.txt)
program=\$1
shift
run_wine "\$program" "\$@" -o "\$(win_path "\$log"),txt" >/dev/null 2>&1
status=\$?
cat "\$log" 2>/dev/null
rm -f "\$log"
exit \$status
EOF
    } >"$WIN_BUILD/wine-test.sh"
    chmod +x "$WIN_BUILD/wine-test.sh"
}

stage_quillet() {
    log "cross-building Quillet $VERSION in $WIN_BUILD"
    mkdir -p "$WIN_BUILD" "$DIST"
    write_test_runner
    convert "$ROOT"/resources/icons/quillet-{16,32,48,256}.png "$WIN_BUILD/quillet.ico"
    local dlls licenses
    dlls=$(runtime_dlls | paste -sd ';')
    licenses=$(ls "$QT_SRC_ROOT"/qt6-base-*/LICENSES/LGPL-3.0-only.txt "$QT_SRC_ROOT"/qt6-base-*/LICENSES/GPL-3.0-only.txt | paste -sd ';')
    # Qt's toolchain file loads the MinGW one and finds the host tools.
    cmake -S "$ROOT" -B "$WIN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$QT_PREFIX/lib/cmake/Qt6/qt.toolchain.cmake" \
        -DQUILLET_WERROR=ON -DQUILLET_BENCH=OFF -DCMAKE_CROSSCOMPILING_EMULATOR="$WIN_BUILD/wine-test.sh" \
        -DQUILLET_WINDOWS_ICON="$WIN_BUILD/quillet.ico" -DQUILLET_RUNTIME_DLLS="$dlls" \
        -DQUILLET_QT_TRANSLATION=/usr/share/qt6/translations/qtbase_ja.qm \
        -DQUILLET_QT_LICENSES="$licenses" >/dev/null
    "${NICE[@]}" cmake --build "$WIN_BUILD" --parallel "$JOBS"

    log "packing the portable zip"
    local name=quillet-$VERSION-windows-x64 stage=$WIN_BUILD/stage
    rm -rf "$stage" && mkdir -p "$stage"
    cmake --install "$WIN_BUILD" --prefix "$stage/$name" >/dev/null
    x86_64-w64-mingw32-strip "$stage/$name"/*.exe
    touch "$stage/$name/portable"
    rm -f "$DIST/$name.zip"
    (cd "$stage" && zip -qr "$DIST/$name.zip" "$name")

    log "making the installer"
    (cd "$WIN_BUILD" && cpack -G NSIS -B "$WIN_BUILD/cpack" >/dev/null)
    cp "$WIN_BUILD/cpack/$name-setup.exe" "$DIST/"
    # The same files under an older version: what the upgrade check installs first.
    (cd "$WIN_BUILD" && cpack -G NSIS -B "$WIN_BUILD/cpack-older" -D CPACK_PACKAGE_VERSION="$OLDER" \
        -D CPACK_PACKAGE_FILE_NAME="quillet-$OLDER-windows-x64-setup" >/dev/null)
    ls -l "$DIST/$name.zip" "$DIST/$name-setup.exe"
}

# ---------------------------------------------------------------- stage 4
# wine sees / as drive Z:; the DLLs come from Qt's bin folder and MinGW's.
win_path() { echo "Z:${1//\//\\}"; }

# Debian's wine command starts 64-bit programs with its wine64.
run_wine() {
    local qtbin mingw
    qtbin=$(win_path "$QT_PREFIX/bin")
    mingw=$(win_path "$(dirname "$("$MINGW_CXX" -print-file-name=libstdc++-6.dll)")")
    # A UTF-8 locale, so that wine reads Japanese paths in the arguments; a
    # test's own (ja_JP.UTF-8) is wine's Windows locale too.
    local locale=C.UTF-8
    case "${LC_ALL:-}" in *.UTF-8 | *.utf8) locale=$LC_ALL ;; esac
    LC_ALL=$locale WINEPATH="$qtbin;$mingw;$(win_path /usr/x86_64-w64-mingw32/lib)" \
        WINEDEBUG=-all wine "$@"
}

stage_test() {
    export WINEPREFIX=$CACHE/wine
    local start=$SECONDS failed=0
    if [ ! -d "$WINEPREFIX" ]; then
        log "preparing the wine prefix $WINEPREFIX"
        WINEDEBUG=-all wineboot --init >/dev/null 2>&1 || true
    fi
    log "tests under wine: the core and the window, on Qt's offscreen platform"
    # One at a time: each wine process takes a core of its own.
    if ! (cd "$WIN_BUILD" && ctest --output-on-failure -j1 --timeout 600); then
        failed=1
    fi

    log "quillet-compose.exe against the golden files"
    # Read from and written to a folder with a Japanese name, as authors' are.
    local compose=$WIN_BUILD/quillet-compose.exe out=$WIN_BUILD/照合/作品フォルダー
    rm -rf "$WIN_BUILD/照合" && mkdir -p "$out"
    check_golden() { # data file, README, extra options
        local data=$out/データ.pwk got=$out/説明-$(basename "$2")
        cp "$1" "$data"
        if run_wine "$compose" "${@:3}" "$data" "$got" && cmp -s "$got" "$2"; then
            echo "same bytes: $(basename "$2")"
        else
            echo "DIFFERS: $(basename "$2")"
            failed=1
        fi
    }
    check_golden "$ROOT/tests/data/sample.pwk" "$ROOT/tests/data/sample_README.TXT"
    check_golden "$ROOT/tests/data/texts/project.pwk" "$ROOT/tests/data/texts/README.TXT"
    check_golden "$ROOT/tests/data/texts/project.pwk" "$ROOT/tests/data/texts/README.md" --markdown

    log "quillet.exe under Xvfb, at 96 and 144 dpi"
    # Waits for the window (wine's first start of a window program scans the
    # fonts), then takes the picture; wine's LogPixels is the system's DPI.
    # (xvfb-run's sh drops exported functions.)
    local script=$WIN_BUILD/screenshot.sh
    {
        declare -f win_path run_wine
        cat <<EOF
for dpi in 96 144; do
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d \$dpi /f >/dev/null 2>&1
    wineserver -w
    # wineserver -k ends it: no "Killed" notice for that.
    run_wine "$WIN_BUILD/quillet.exe" "$out/データ.pwk" 2>/dev/null &
    for _ in \$(seq 120); do
        xdotool search --onlyvisible --name " - Quillet\$" >/dev/null 2>&1 && break
        sleep 1
    done
    sleep 5
    import -window root "$DIST/quillet-windows-\$dpi.png"
    wineserver -k
    wineserver -w
done
EOF
    } >"$script"
    # The tests' wine server has no display: the window needs a fresh one. The
    # screen is tall enough for the window at 144 dpi.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    QT_PREFIX=$QT_PREFIX MINGW_CXX=$MINGW_CXX xvfb-run -a -s "-screen 0 1600x1400x24" \
        bash "$script" || true
    ls "$DIST"/quillet-windows-*.png || echo "no screenshot was taken"

    log "the installer: install, upgrade, open by association, uninstall"
    bash "$ROOT/scripts/check-windows-install.sh" \
        "$WIN_BUILD/cpack-older/quillet-$OLDER-windows-x64-setup.exe" \
        "$DIST/quillet-$VERSION-windows-x64-setup.exe" "$DIST/quillet-windows-association.png" ||
        failed=1
    echo "test leg: $((SECONDS - start)) s" | tee -a "$TIMES"
    return "$failed"
}

stage_deps
stage_qt
[ "$QT_ONLY" -eq 1 ] && exit 0
stage_quillet
[ "$TEST" -eq 1 ] && stage_test
exit 0
