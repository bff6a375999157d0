#!/usr/bin/env bash
# Runs the batch tool on the bundled example scenario: the layout of one
# scene, then a print run of the whole scenario to PNG pages under
# $build/demo/, with the pages written and the print log listed.
set -euo pipefail
build=${1:-build}
tool="$build/batch/quillon-batch"
demo="$build/demo"

scene=examples/scenario/s01_harbour.screenplay.txt
echo "== quillon-batch layout $scene"
"$tool" layout "$scene"

# Loading a folder writes its settings file into it, so the run prints a copy
# and the repository's examples stay as they are.
rm -rf "$demo"
mkdir -p "$demo"
cp -R examples/scenario "$demo/scenario"

echo
echo "== quillon-batch print $demo/scenario --device png --dest $demo/ --log $demo/quillon.log.txt"
"$tool" print "$demo/scenario" --device png --dest "$demo/" --log "$demo/quillon.log.txt"

echo
echo "== page images"
find "$demo" -path "$demo/scenario" -prune -o -type f -name '*.png' -print | LC_ALL=C sort

echo
echo "== $demo/quillon.log.txt (Shift-JIS, shown in UTF-8)"
iconv -f CP932 -t UTF-8 "$demo/quillon.log.txt"
