#!/usr/bin/env bash
# check-package.sh BUILD VERSION [DEB]
#
# Checks the Debian package of a build as a user would meet it: made by
# CPack from BUILD into a temporary folder (or the DEB given), it must be
# named quillon_VERSION_ARCH.deb, take its Depends from dpkg-shlibdeps, hold
# both programs, the desktop entry, the icon, the bash completion and the
# two gzipped manual pages, and, unpacked into a temporary root, answer
# --help without a display and show its manual pages without a warning.
set -euo pipefail
build=$1
version=$2
deb=${3:-}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() {
  echo "FAIL: $*"
  status=1
}

if [ -z "$deb" ]; then
  # The programs are built already: cpack only installs and packs them.
  if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    echo "FAIL: cpack could not make the package"
    exit 1
  fi
  deb=$(find "$work/out" -maxdepth 1 -name '*.deb' -print -quit)
fi
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "quillon_${version}_${arch}.deb" ] ||
  fail "the package is named $(basename "$deb"), not quillon_${version}_${arch}.deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = quillon ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ -n "$(field Section)" ] || fail "no Section"
[ "$(field Description | wc -l)" -gt 2 ] || fail "no long description"
# dpkg-shlibdeps names the packages of the libraries the programs link,
# each with the lowest version that has the symbols used.
depends=$(field Depends)
for library in libc6 libstdc++6 libqt6widgets6 libqt6core6 libicu libcairo2 libcups2; do
  tr ',' '\n' <<< "$depends" | sed 's/^ *//' |
    awk -v name="$library" 'index($0, name) == 1 && index($0, " (>= ") { found = 1 } END { exit !found }' ||
    fail "Depends does not name $library with a version: $depends"
done
dpkg-deb -I "$deb" > "$work/info"
grep -q '^ Depends: ' "$work/info" || fail "dpkg-deb -I lists no Depends"

root="$work/root"
dpkg-deb -x "$deb" "$root"
for file in usr/bin/quillon usr/bin/quillon-batch; do
  [ -x "$root/$file" ] || fail "missing or not executable: $file"
done
for file in usr/share/applications/quillon.desktop \
  usr/share/icons/hicolor/scalable/apps/quillon.svg \
  usr/share/bash-completion/completions/quillon-batch \
  usr/share/man/man1/quillon.1.gz usr/share/man/man1/quillon-batch.1.gz; do
  [ -f "$root/$file" ] || fail "missing: $file"
done

# --help on a terminal without a display: the help, exit 0, no window.
for program in quillon quillon-batch; do
  if out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
    "$root/usr/bin/$program" --help 2> "$work/err"); then
    [ "$(head -n 1 <<< "$out" | cut -d' ' -f1-2)" = "usage: $program" ] ||
      fail "$program --help begins: $(head -n 1 <<< "$out")"
    [ -s "$work/err" ] && fail "$program --help wrote to stderr: $(cat "$work/err")"
  else
    fail "$program --help exits with $?: $(cat "$work/err")"
  fi
done
# Without a display and without --help the window cannot open: a message
# and exit status 1, not Qt's abort.
set +e
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/quillon" > /dev/null 2> "$work/err"
code=$?
set -e
[ "$code" -eq 1 ] && grep -q '^quillon: no display' "$work/err" ||
  fail "quillon without a display exits with $code: $(cat "$work/err")"

# Debian's man pages: gzip -9n (no name, no time stamp), shown by man
# without a warning on an 80-column terminal.
for page in quillon quillon-batch; do
  file="$root/usr/share/man/man1/$page.1.gz"
  [ -f "$file" ] || continue
  gzip -t "$file" || fail "$page.1.gz is no gzip file"
  kind=$(file -b "$file")
  grep -q 'max compression' <<< "$kind" || fail "$page.1.gz is not gzip -9: $kind"
  grep -Eq 'was "|last modified' <<< "$kind" && fail "$page.1.gz keeps a name or time: $kind"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>&1 > "$work/page.txt")
  [ -z "$warnings" ] || fail "man warns about $page(1): $warnings"
  upper=$(tr '[:lower:]' '[:upper:]' <<< "$page")
  grep -q "^${upper}(1)" "$work/page.txt" || fail "man shows no page for $page(1)"
done

if [ $status -eq 0 ]; then
  echo "ok: $(basename "$deb"), $(stat -c %s "$deb") bytes"
fi
exit $status
