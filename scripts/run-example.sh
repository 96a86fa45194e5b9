#!/usr/bin/env bash
# Builds Vivo and shows what the host learns when it loads the plug-in.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh" "$root/build"
"$root/build/vivo" info
