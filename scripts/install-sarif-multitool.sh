#!/usr/bin/env bash
# Installs Microsoft's SARIF Multitool, with which the tests validate `vivo classify --format sarif`,
# from npm into tests/tools/sarif/node_modules (the versions of its lock file). Node.js and npm come
# from Debian when the machine has no npm yet.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
command -v npm >/dev/null || "$root/scripts/install-packages.sh" nodejs npm
npm ci --prefix "$root/tests/tools/sarif" --no-audit --no-fund --loglevel=error
