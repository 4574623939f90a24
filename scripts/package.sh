#!/usr/bin/env bash
# Builds quillet_<version>_amd64.deb with CPack (dependencies from
# dpkg-shlibdeps) in build-package/, then checks it with lintian.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DQUILLET_TESTS=OFF -DQUILLET_BENCH=OFF >/dev/null
cmake --build build-package -j "$(nproc)"
(cd build-package && cpack -G DEB >/dev/null)
deb=$(ls build-package/quillet_*_amd64.deb)
echo "== lintian $deb"
# Errors fail the build; warnings are shown.
lintian --fail-on error --tag-display-limit 0 "$deb"
echo "Built $deb"
