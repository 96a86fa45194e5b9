#!/usr/bin/env bash
# Builds Vivo, shows what the host learns when it loads the plug-in, and moves the Tessaro V9.04
# example project to KZ 1.01.00: the converted project, Upgrade.txt and the migration report are
# written beside a copy of the example in build/example/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/build.sh" "$root/build"
vivo="$root/build/vivo"
"$vivo" info
work="$root/build/example"
rm -rf "$work" && mkdir -p "$work"
cp "$root/examples/families/tessaro-v904/Pump904.vivo" "$work/"
echo
# Exit code 1: converted, with items that need attention (listed on standard error).
status=0
"$vivo" change "$work/Pump904.vivo" --to 1.01.00 --report "$work/report.json" </dev/null || status=$?
[ "$status" -le 1 ] || exit "$status"
echo
echo "== $work/Pump904.kz-1.01.00.vivo"
cat "$work/Pump904.kz-1.01.00.vivo"
echo
echo "== $work/Upgrade.txt"
tr -d '\r' <"$work/Upgrade.txt"
