#!/usr/bin/env bash
# Runs every fuzz target of a libFuzzer build for a bounded time, then merges
# what it found into the saved corpus.
#   scripts/fuzz.sh BUILD_DIR SECONDS_PER_TARGET
# Each target starts from tests/fuzz/corpus/<target>/ and gathers new inputs
# in BUILD_DIR/found/<target>/; inputs that crash (or leak, or time out) are
# saved in tests/fuzz/crashes/<target>/, where `make test` replays them until
# the fault is mended. A merge keeps only inputs that reach new code, so the
# corpus grows by what is worth replaying. Exits 1 when any target failed.
set -uo pipefail

build=${1:?build folder}
seconds=${2:-120}
root=$(cd "$(dirname "$0")/.." && pwd)
status=0

for target in "$build"/quillon_fuzz_*; do
  [ -x "$target" ] || continue
  name=${target##*/quillon_fuzz_}
  corpus="$root/tests/fuzz/corpus/$name"
  found="$build/found/$name"
  crashes="$root/tests/fuzz/crashes/$name"
  mkdir -p "$corpus" "$found" "$crashes"
  echo "== $name: ${seconds}s"
  if ! "$target" -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$crashes/" "$found" "$corpus" \
      >"$build/$name.log" 2>&1; then
    echo "   $name FAILED: see $build/$name.log and $crashes/"
    status=1
  fi
  grep -aE '^stat::number_of_executed_units|^stat::new_units_added' "$build/$name.log" | sed 's/^/   /'
  before=$(find "$corpus" -type f | wc -l)
  "$target" -merge=1 -max_len=65536 -timeout=20 "$corpus" "$found" >"$build/$name.merge.log" 2>&1 ||
    { echo "   $name: merge failed, see $build/$name.merge.log"; status=1; }
  after=$(find "$corpus" -type f | wc -l)
  echo "   corpus: $before -> $after input(s)"
done
exit $status
