#!/usr/bin/env bash
# Runs the batch tool on the bundled example scenario.
set -euo pipefail
build=${1:-build}
scene=examples/scenario/s01_harbour.screenplay.txt
echo "== quillon-batch layout $scene"
"$build/batch/quillon-batch" layout "$scene"
