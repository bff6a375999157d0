#!/usr/bin/env bash
# package.sh BUILD JOBS: the release build of both programs in BUILD, its
# Debian package made by CPack (quillon_<version>_<arch>.deb in BUILD),
# checked as the tests check the test build's, and where it is and how big.
set -euo pipefail
build=$1
jobs=$2
cd "$(dirname "$0")/.."

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLON_TESTS=OFF -DQUILLON_SANITIZE=OFF
cmake --build "$build" -j "$jobs"
rm -f "$build"/quillon_*.deb
(cd "$build" && cpack -G DEB)

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$(find "$build" -maxdepth 1 -name "quillon_${version}_*.deb" -print -quit)
if [ -z "$deb" ]; then
  echo "package.sh: cpack made no quillon_${version}_*.deb in $build" >&2
  exit 1
fi
bash tests/package/check-package.sh "$build" "$version" "$deb"
bytes=$(stat -c %s "$deb")
echo "package: $(realpath "$deb")"
echo "size: $bytes bytes ($(numfmt --to=iec-i --suffix=B "$bytes")), installed $(dpkg-deb -f "$deb" Installed-Size) KiB"
