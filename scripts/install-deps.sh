#!/usr/bin/env bash
# Installs the Debian packages Quillet needs to build, test and run.
# Skips everything when they are already present; runs apt-get update only
# when something is missing.
set -euo pipefail

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

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo_cmd=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
