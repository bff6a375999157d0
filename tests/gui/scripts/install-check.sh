#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that a desktop user
# gets both programs, the menu entry (accepted by desktop-file-validate) and
# the icon.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

status=0
for file in bin/quillon bin/quillon-batch; do
  if [ ! -x "$prefix/$file" ]; then
    echo "missing or not executable: $file"
    status=1
  fi
done
entry="$prefix/share/applications/quillon.desktop"
icon="$prefix/share/icons/hicolor/scalable/apps/quillon.svg"
[ -f "$icon" ] || { echo "missing: the icon"; status=1; }
if [ -f "$entry" ]; then
  desktop-file-validate "$entry" || status=1
  grep -qx 'Exec=quillon %f' "$entry" || { echo "the entry does not take a folder"; status=1; }
  grep -q '^Categories=.*Office;' "$entry" || { echo "the entry is not under Office"; status=1; }
  grep -q '^Name\[ja\]=' "$entry" || { echo "the entry has no Japanese name"; status=1; }
else
  echo "missing: the desktop entry"
  status=1
fi
exit $status
