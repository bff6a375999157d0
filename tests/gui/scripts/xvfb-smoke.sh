#!/usr/bin/env bash
# Starts the desktop program on a copy of the example scenario under Xvfb,
# waits for its main window, and saves a screenshot of the screen as an
# artifact of the test build. Exit 77 (skipped) only where Xvfb cannot run.
set -uo pipefail
quillon=$1
screenshot=$2
scenario=$3
picture=$4

if ! command -v xvfb-run > /dev/null || ! command -v xwininfo > /dev/null; then
  echo "SKIP: xvfb-run or xwininfo is not installed (scripts/install-deps.sh installs them)"
  exit 77
fi
if ! xvfb-run -a true > /dev/null 2>&1; then
  echo "SKIP: Xvfb cannot start on this machine"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -R "$scenario" "$work/scenario"
mkdir -p "$(dirname "$picture")"
rm -f "$picture"

export QUILLON_SMOKE_QUILLON=$quillon QUILLON_SMOKE_SHOT=$screenshot
export QUILLON_SMOKE_FOLDER=$work/scenario QUILLON_SMOKE_PICTURE=$picture
xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
  export QT_QPA_PLATFORM=xcb
  # Leaks of the toolkit at a killed exit are no finding of this test.
  ASAN_OPTIONS=detect_leaks=0 "$QUILLON_SMOKE_QUILLON" "$QUILLON_SMOKE_FOLDER" &
  pid=$!
  found=0
  for _ in $(seq 150); do
    if xwininfo -root -tree | grep -q "\"quillon utility\""; then found=1; break; fi
    if ! kill -0 $pid 2> /dev/null; then break; fi
    sleep 0.2
  done
  if [ $found -ne 1 ]; then
    echo "the main window \"quillon utility\" did not appear"
    kill $pid 2> /dev/null
    exit 1
  fi
  sleep 1
  "$QUILLON_SMOKE_SHOT" "$QUILLON_SMOKE_PICTURE"
  shot=$?
  kill $pid 2> /dev/null
  wait $pid 2> /dev/null
  exit $shot
'
status=$?
[ $status -eq 0 ] && echo "screenshot: $picture"
exit $status
