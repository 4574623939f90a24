#!/usr/bin/env bash
# Installs Quillet for Windows into a fresh wine prefix and checks what an
# author meets: the files, the Start menu entry, the .pwk association and the
# installed mode; opens a project through the association and takes a
# screenshot; installs the newer build over the older one; uninstalls.
# Usage: check-windows-install.sh OLDER-SETUP.exe NEWER-SETUP.exe SCREENSHOT.png
# (scripts/build-windows.sh --test runs it.)
set -uo pipefail
older=$1 newer=$2 shot=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
export WINEPREFIX=$work/wine WINEDEBUG=-all LC_ALL=C.UTF-8
failed=0

log() { echo "== $*"; }
check() { # what, command...
    if "${@:2}"; then
        echo "ok: $1"
    else
        echo "FAILED: $1"
        failed=1
    fi
}
# The value of a registry key's entry (or its default value), or nothing.
reg_value() { # key [name]
    local args=(/ve)
    [ $# -gt 1 ] && args=(/v "$2")
    wine reg query "$1" "${args[@]}" 2>/dev/null | tr -d '\r' |
        sed -nE 's/^ +[^ ].* +REG_[A-Z_]+ +(.*)$/\1/p' | head -n1
}
# Runs a setup or an uninstaller silently and waits for it and what it started.
run_silently() {
    wine "$@" /S
    wineserver -w
}
version_of() { sed -nE 's/^quillet-([0-9.]+)-windows-x64-setup\.exe$/\1/p' <<<"$(basename "$1")"; }

log "a fresh wine prefix"
wineboot --init >/dev/null 2>&1
wineserver -w
user_dir=$(find "$WINEPREFIX/drive_c/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n1)
appdata=$user_dir/AppData/Roaming/Quillet/Quillet
program=$WINEPREFIX/drive_c/Program\ Files/Quillet
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillet'
start_menu() { find "$WINEPREFIX/drive_c" -path '*Start Menu*' -name 'Quillet.lnk' 2>/dev/null; }
uninstall_entries() {
    wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' 2>/dev/null |
        tr -d '\r' | grep -c '\\Quillet$'
}

log "installing $(basename "$older")"
run_silently "$older"
check "the older build is installed" test -f "$program/quillet.exe"
# The author's lists, as the window registers them.
mkdir -p "$appdata"
printf '作者 一郎\r\n' | iconv -f UTF-8 -t CP932 >"$appdata/Writer.dat"
cp "$appdata/Writer.dat" "$work/Writer.dat"

log "installing $(basename "$newer") over it"
run_silently "$newer"
for f in quillet.exe quillet-compose.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll \
    platforms/qwindows.dll styles/qwindowsvistastyle.dll translations/qtbase_ja.qm \
    profiles templates README.txt Uninstall.exe; do
    check "installed: $f" test -e "$program/$f"
done
check "no portable marker in an installation" test ! -e "$program/portable"
check "one entry in the uninstall list" test "$(uninstall_entries)" = 1
check "the entry names the newer version" \
    test "$(reg_value "$uninstall_key" DisplayVersion)" = "$(version_of "$newer")"
check "a Start menu entry" test -n "$(start_menu)"
check ".pwk opens as a Quillet project" test "$(reg_value 'HKCR\.pwk')" = Quillet.Project
command=$(reg_value 'HKCR\Quillet.Project\shell\open\command')
check ".pwk opens in the installed quillet.exe ($command)" \
    test "$command" = '"C:\Program Files\Quillet\quillet.exe" "%1"'
check "the author's lists are kept over the upgrade" cmp -s "$appdata/Writer.dat" "$work/Writer.dat"
version=$(wine "$program/quillet-compose.exe" --version 2>/dev/null | tr -d '\r')
echo "$version"
check "quillet-compose names installed mode" grep -q 'インストールモード' <<<"$version"
check "... and the lists in %APPDATA%" grep -q 'AppData[\\/]Roaming[\\/]Quillet[\\/]Quillet' <<<"$version"

log "opening a project through the association"
docs=$user_dir/Documents/作品
mkdir -p "$docs"
cp "$here/../tests/data/sample.pwk" "$docs/時計.pwk"
# The wine server so far had no display: the window needs a fresh one.
wineserver -k 2>/dev/null
wineserver -w
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    wine start "C:\\users\\'"$(basename "$user_dir")"'\\Documents\\作品\\時計.pwk" 2>/dev/null
    for _ in $(seq 120); do
        xdotool search --onlyvisible --name "時計.* - Quillet$" >/dev/null 2>&1 && break
        sleep 1
    done
    sleep 5
    xdotool search --onlyvisible --name "時計.* - Quillet$" >/dev/null 2>&1 &&
        import -window root "'"$shot"'"
    wineserver -k'
wineserver -w
check "the project opened in Quillet (screenshot $shot)" test -s "$shot"

log "uninstalling"
run_silently "$program/Uninstall.exe"
check "the program files are gone" test ! -e "$program/quillet.exe"
check "the Start menu entry is gone" test -z "$(start_menu)"
check "the uninstall entry is gone" test "$(uninstall_entries)" = 0
check "the association is gone" bash -c "! wine reg query 'HKCR\\Quillet.Project' >/dev/null 2>&1"
check ".pwk no longer names Quillet" test "$(reg_value 'HKCR\.pwk')" != Quillet.Project
check "the author's lists are kept" cmp -s "$appdata/Writer.dat" "$work/Writer.dat"

exit "$failed"
