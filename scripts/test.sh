#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
# What the tests use beyond the build: the SARIF schema check.
"$root/scripts/install-packages.sh" python3 python3-jsonschema
"$root/scripts/build.sh" "$root/build"
ctest --test-dir "$root/build" --output-on-failure -j"$(nproc)"
# The Windows product: both DLLs cross-built, the same suite under Wine.
"$root/scripts/windows-tests.sh" "$root/build-windows"
