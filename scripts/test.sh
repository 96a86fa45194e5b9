#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# What the tests use beyond the build: the SARIF schema check and Microsoft's SARIF Multitool.
"$root/scripts/install-packages.sh" python3 python3-jsonschema
"$root/tests/editors/install.sh"  # clangd, Vim and VS Code's tokeniser, which check the editor files
"$root/scripts/install-sarif-multitool.sh"
# Includes point down the layers of src/ (the order is written in the script), and the tests stay
# within 35 % of the code they test (non-blank lines).
"$root/scripts/check-includes"
"$root/scripts/test-size"
"$root/scripts/build.sh" "$root/build"
ctest --test-dir "$root/build" --output-on-failure -j"$(nproc)"
# Memory checks: the suite under AddressSanitizer and UndefinedBehaviorSanitizer, valgrind memcheck over
# the tests that load the plug-in; then a bounded run of every fuzz target from its seeds.
"$root/scripts/sanitize.sh" "$root/build-asan" "$root/build"
"$root/scripts/fuzz-smoke.sh" 15
# The Windows product: both DLLs cross-built, the same suite under Wine.
"$root/scripts/windows-tests.sh" "$root/build-windows"
