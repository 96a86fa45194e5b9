#!/usr/bin/env bash
# Memory checks of the whole test suite, in two passes:
#  1. AddressSanitizer and UndefinedBehaviorSanitizer: the plug-in, the host program and the tests
#     built with both in build-asan/ (or the first argument), every test run there; any report fails.
#  2. valgrind memcheck over the tests that load the built plug-in as the host does, in the ordinary
#     build (build/, or the second argument; built first when missing): zero errors, no leak.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
asan="${1:-$root/build-asan}"
build="${2:-$root/build}"
jobs="$(nproc)"

"$root/scripts/install-packages.sh" g++ cmake make libgtest-dev libgmock-dev valgrind

flags="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"
cmake -S "$root" -B "$asan" -DCMAKE_BUILD_TYPE=Debug "-DCMAKE_CXX_FLAGS=$flags -O1" \
  "-DCMAKE_EXE_LINKER_FLAGS=$flags" "-DCMAKE_SHARED_LINKER_FLAGS=$flags" >/dev/null
cmake --build "$asan" -j"$jobs"
export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1:check_initialization_order=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir "$asan" --output-on-failure -j"$jobs"
unset ASAN_OPTIONS UBSAN_OPTIONS

[ -x "$build/tests/vivo_tests" ] || "$root/scripts/build.sh" "$build"
# The black-box tests: every export through the loaded Vivo.so, with caller buffers and guard bytes.
# Tests that start the vivo program or another process are left to the sanitizer pass.
filter='-ClassifyCommand.*:KeywordsCommand.*:OptionsCommand.*:HostInfo.*:HostSafety.*:ChangeReview.*:EditorCommand.*:KzChange.*:TextFileAsUser.*'
valgrind --quiet --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite,indirect \
  --track-origins=no --child-silent-after-fork=yes \
  "$build/tests/vivo_tests" --gtest_brief=1 "--gtest_filter=$filter"
echo "sanitizers and memcheck: no errors"
