#!/usr/bin/env bash
# Installs the Debian packages Quillet needs to build, test and run.
# `install-deps.sh windows` installs instead what the Windows cross build
# (scripts/build-windows.sh) needs.
# Skips everything when they are already present; runs apt-get update only
# when something is missing.
set -euo pipefail

case "${1:-}" in
"")
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libgl-dev qt6-translations-l10n
  fonts-ipafont-gothic
  libbenchmark-dev
  xvfb xauth xdotool x11-apps imagemagick
  clang-format clang-14 libclang-rt-14-dev
  python3 time
  desktop-file-utils appstream libxml2-utils shared-mime-info dpkg-dev lintian file
)
;;
windows)
# The host Qt provides moc, rcc and uic for the cross-built Qt; dpkg-dev and
# xz-utils unpack Debian's Qt source; perl runs Qt's syncqt.
packages=(
  build-essential cmake ninja-build perl xz-utils dpkg-dev
  qt6-base-dev qt6-base-dev-tools
  mingw-w64 gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-posix
  wine wine64 nsis zip time locales
  xvfb xauth xdotool imagemagick fonts-ipafont-gothic fonts-dejavu-core qt6-translations-l10n
)
# wine takes its Windows locale from the Linux one: the Japanese test runs need it.
locale_needed=ja_JP.UTF-8
;;
*)
  echo "usage: $0 [windows]" >&2
  exit 2
  ;;
esac

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
has_locale() { [ -z "${locale_needed:-}" ] || locale -a 2>/dev/null | grep -qix "${locale_needed/UTF-8/utf8}"; }
[ ${#missing[@]} -eq 0 ] && has_locale && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
if ! has_locale; then
  echo "Generating the $locale_needed locale"
  "${sudo_cmd[@]}" localedef -i "${locale_needed%%.*}" -c -f UTF-8 "$locale_needed"
fi
