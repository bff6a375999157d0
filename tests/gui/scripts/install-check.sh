#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that a desktop user
# gets both programs, the menu entry (accepted by desktop-file-validate), the
# icon and the two manual pages (gzipped, shown by man without a warning),
# and that both programs answer --help without a display.
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
for page in quillon quillon-batch; do
  file="$prefix/share/man/man1/$page.1.gz"
  if [ ! -f "$file" ]; then
    echo "missing: the manual page $page(1)"
    status=1
    continue
  fi
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>&1 > /dev/null)
  [ -z "$warnings" ] || { echo "man warns about $page(1): $warnings"; status=1; }
done
for program in quillon quillon-batch; do
  [ -x "$prefix/bin/$program" ] || continue
  help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/$program" --help) ||
    { echo "$program --help failed"; status=1; }
  [[ $help == "usage: $program "* ]] || { echo "$program --help begins: ${help%%$'\n'*}"; status=1; }
done
exit $status
