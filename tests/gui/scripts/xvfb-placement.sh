#!/usr/bin/env bash
# The main window reopens where it was closed, on a real X server, with a
# window manager (openbox, which puts a frame around it) and without one:
# three starts in a row, each closed through the window manager or the
# program's own close command, must save and restore the same place. Exit 77
# (skipped) only where Xvfb cannot run.
set -uo pipefail
quillon=$1
scenario=$2

for tool in xvfb-run xdotool wmctrl openbox xwininfo; do
  if ! command -v $tool > /dev/null; then
    echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done
if ! xvfb-run -a true > /dev/null 2>&1; then
  echo "SKIP: Xvfb cannot start on this machine"
  exit 77
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The program keeps its window configuration beside itself: a copy of its own
# in a fresh folder starts with none.
mkdir -p "$work/bin"
cp "$quillon" "$work/bin/quillon"
cp -R "$scenario" "$work/scenario"

export QUILLON_PLACEMENT_WORK=$work
xvfb-run -a -s "-screen 0 1366x768x24" bash -c '
  set -u
  export QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0
  work=$QUILLON_PLACEMENT_WORK
  configuration=$work/bin/quillon.configuration

  # Starts the program, waits for its window, runs the given commands on it
  # (the window id in $id), closes it and waits for the program to end.
  session() {
    local close=$1 act=${2:-true}
    "$work/bin/quillon" "$work/scenario" > "$work/out.txt" 2>&1 &
    local pid=$! id=
    for _ in $(seq 150); do
      id=$(xdotool search --name "^quillon utility\$" 2> /dev/null | head -1)
      [ -n "$id" ] && break
      sleep 0.2
    done
    if [ -z "$id" ]; then
      echo "the main window did not appear"; cat "$work/out.txt"; kill $pid; return 1
    fi
    sleep 1
    eval "$act"
    sleep 0.5
    xwininfo -id "$id" | sed -n "s/ *Absolute upper-left \([XY]\): *//p" | tr "\n" " " > "$work/client.txt"
    case $close in
      wm) wmctrl -i -c "$id" ;;
      key) xdotool mousemove --window "$id" 5 5; xdotool key ctrl+q ;;
    esac
    for _ in $(seq 100); do kill -0 $pid 2> /dev/null || break; sleep 0.1; done
    if kill -0 $pid 2> /dev/null; then
      echo "the program did not end after closing its window"; kill $pid; return 1
    fi
  }
  places() { sort "$configuration" | tr "\n" " "; }

  fail=0
  check() { # label, expected, actual
    if [ "$2" != "$3" ]; then echo "$1: expected [$2], got [$3]"; fail=1; else echo "$1: [$3]"; fi
  }

  # With a window manager: moved once by the user, then left alone twice.
  openbox & wm=$!
  sleep 1
  session wm "xdotool windowmove \$id 301 170" || exit 1
  first=$(places)
  session wm || exit 1
  client2=$(cat "$work/client.txt"); second=$(places)
  session wm || exit 1
  client3=$(cat "$work/client.txt"); third=$(places)
  check "saved place, second start" "$first" "$second"
  check "saved place, third start" "$second" "$third"
  check "window, third start" "$client2" "$client3"
  kill $wm; wait $wm 2> /dev/null

  # Without one: the program closes itself.
  rm -f "$configuration"
  session key "xdotool windowmove \$id 240 130" || exit 1
  first=$(places)
  session key || exit 1
  client2=$(cat "$work/client.txt"); second=$(places)
  check "saved place without a window manager" "$first" "$second"
  check "window without a window manager" "240 130 " "$client2"
  exit $fail
'
