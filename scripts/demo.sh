#!/usr/bin/env bash
# The main job on the bundled example scenario. With a display (DISPLAY or
# WAYLAND_DISPLAY set) the desktop program opens on a copy of it; without
# one the batch tool lays out one scene, estimates the pages and prints the
# scenario to PNG pages under $build/demo/ with the director's copies and
# shaded comments, then lists the pages written and the print log, and prints
# the same scripts as one PDF per actor.
set -euo pipefail
build=${1:-build}
tool="$build/batch/quillon-batch"
demo="$build/demo"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  rm -rf "$demo"
  mkdir -p "$demo"
  cp -R examples/scenario "$demo/scenario"
  echo "== a display is available: opening the desktop program on $demo/scenario"
  exec "$build/gui/quillon" "$demo/scenario"
fi
echo "== no display (DISPLAY and WAYLAND_DISPLAY are unset): the batch demo"

scene=examples/scenario/s01_harbour.screenplay.txt
echo "== quillon-batch layout $scene"
"$tool" layout "$scene"

# Loading a folder writes its settings file into it, so the run prints a copy
# and the repository's examples stay as they are.
rm -rf "$demo"
mkdir -p "$demo"
cp -R examples/scenario "$demo/scenario"
# Comment lines (" *...") on a 2x2 mesh of grey 160: the folder's settings
# file holds the comment background.
printf 'custom.modeEmphasis=2\ncustom.colEmphasis=160\n' >"$demo/scenario/quillon.settings.rnf"
echo
echo "== $demo/scenario/quillon.settings.rnf: shaded comments"
cat "$demo/scenario/quillon.settings.rnf"

echo
echo "== quillon-batch estimate $demo/scenario --generic"
"$tool" estimate "$demo/scenario" --generic

echo
echo "== quillon-batch print $demo/scenario --device png --dest $demo/ --generic --log $demo/quillon.log.txt"
"$tool" print "$demo/scenario" --device png --dest "$demo/" --generic --log "$demo/quillon.log.txt"

echo
echo "== page images (監督用: the director's copies)"
find "$demo" -path "$demo/scenario" -prune -o -type f -name '*.png' -print | LC_ALL=C sort

echo
echo "== $demo/quillon.log.txt (Shift-JIS, shown in UTF-8)"
iconv -f CP932 -t UTF-8 "$demo/quillon.log.txt"

echo
echo "== quillon-batch print $demo/scenario --device pdf --bundle-by-actor --dest $demo/pdf/ --generic --no-log"
mkdir -p "$demo/pdf"
"$tool" print "$demo/scenario" --device pdf --bundle-by-actor --dest "$demo/pdf/" --generic --no-log
echo
echo "== one PDF per actor, each scene an outline entry"
find "$demo/pdf" -type f -name '*.pdf' -print | LC_ALL=C sort
