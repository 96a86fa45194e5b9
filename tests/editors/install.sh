#!/usr/bin/env bash
# What the editor checks run: clangd 14 and Vim from Debian, node with npm (Debian's when the machine
# has none), and the npm packages of package-lock.json (vscode-textmate, vscode-oniguruma).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/../../scripts/install-packages.sh" clangd vim python3 python3-jsonschema
command -v npm >/dev/null || "$here/../../scripts/install-packages.sh" nodejs npm
npm ci --prefix "$here" --no-audit --no-fund --loglevel=error
