#!/usr/bin/env bash
# Installs what the build needs and builds the plug-in, its resource libraries, the vivo host and
# the tests into build/ (or the folder given as the first argument).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
shift || true
"$root/scripts/install-packages.sh" g++ cmake make libgtest-dev libgmock-dev libbenchmark-dev \
  libcli11-dev nlohmann-json3-dev
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build" -j"$(nproc)"
