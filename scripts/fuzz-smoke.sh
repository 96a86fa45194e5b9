#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) in build-fuzz/
# and runs each one, starting from its checked-in seeds in fuzz/corpus/<target>/, for a bounded time
# (seconds per target: first argument, default 15). A crash, a write past a caller's buffer, a leak or
# a timeout fails the run and leaves the input as build-fuzz/fuzz/<target>/crash-*.
#   ./scripts/fuzz-smoke.sh [SECONDS] [extra libFuzzer options, e.g. -runs=1000000]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VIVO_FUZZ_BUILD:-$root/build-fuzz}"
seconds="${1:-15}"
shift || true

"$root/scripts/install-packages.sh" clang libclang-rt-14-dev cmake make
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ -DVIVO_FUZZ=ON \
  -DVIVO_BUILD_TESTS=OFF -DVIVO_BUILD_TOOLS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target vivo_fuzzers

status=0
for seeds in "$root"/fuzz/corpus/*/; do
  target="$(basename "$seeds")"
  program="$build/fuzz/$target/$target"
  # New inputs go to a scratch folder; the checked-in seeds are only read.
  scratch="$(mktemp -d)"
  echo "== $target (${seconds}s)"
  if ! "$program" -max_total_time="$seconds" -timeout=60 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$build/fuzz/$target/" "$@" "$scratch" "$seeds" 2>"$build/fuzz/$target/log.txt"; then
    tail -n 40 "$build/fuzz/$target/log.txt"
    status=1
  fi
  grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb|^Done' "$build/fuzz/$target/log.txt" || true
  rm -rf "$scratch"
done
exit "$status"
