#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that
# are missing, so that a machine that has them all does nothing here.
set -euo pipefail

packages=(
  cmake ninja-build g++ make pkg-config ccache
  libicu-dev libfontconfig-dev libfreetype-dev libharfbuzz-dev libpng-dev zlib1g-dev libcups2-dev
  fonts-ipafont-gothic fonts-ipafont-mincho
  cups-daemon cups-client pango1.0-tools
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins xvfb xauth x11-utils desktop-file-utils openbox xdotool wmctrl
  libisal-dev pngcheck libcairo2-dev poppler-utils libsndfile1-dev
  qt6-translations-l10n man-db groff-base dpkg-dev file
)

# `install-deps.sh fuzz`: the fuzz targets' toolchain too (clang with its
# libFuzzer and sanitizer runtimes, and llvm for the symbolizer that names
# the lines of a crash); the test build replays the targets without it.
if [ "${1:-}" = fuzz ]; then
  packages+=(clang libclang-rt-14-dev llvm)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
