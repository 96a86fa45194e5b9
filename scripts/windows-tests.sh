#!/usr/bin/env bash
# Builds the Windows plug-in with Debian's mingw-w64 — i686 (Vivo.dll, the product for the 32-bit
# host) and x86_64 — and runs the whole test suite under Wine against each: the i686 one under Wine's
# 32-bit part (wine32:i386, installed by scripts/install-wine32.sh), with a virtual display (Xvfb) for
# the report dialog. Then the replay compares Vivo.so and both DLLs call by call. Installs what is
# missing; fails when either suite fails or cannot run, or when the replay finds a difference.
#
#   scripts/windows-tests.sh [output folder, default build-windows/] [extra CMake arguments...]
#
# The output folder holds x86_64/ and i686/ (the builds), wine-prefix/, wine32-install.log and
# report-dialog-<arch>.png, the screenshot of the report dialog taken by each run's dialog test, and
# replay/ with the three transcripts.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${1:-$root/build-windows}"
shift || true
mkdir -p "$out"
out="$(cd "$out" && pwd)"
jobs="$(nproc)"
started=$(date +%s)
step() { echo "== $* ($(( $(date +%s) - started ))s)"; }

step "packages"
"$root/scripts/install-packages.sh" cmake make mingw-w64 wine wine64 fonts-wine xvfb imagemagick

step "wine32:i386"
"$root/scripts/install-wine32.sh" "$out/wine32-install.log"

# One Wine prefix for the run; no Mono or Gecko prompts; windows drawn by Wine itself (no window
# manager on the virtual display), so that the screenshot shows the dialog's caption.
export WINEPREFIX="$out/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
display=""
cleanup() {
  wineserver -k 2>/dev/null || true
  if [ -n "$display" ]; then kill "$display" 2>/dev/null || true; fi
}
trap cleanup EXIT

step "virtual display"
for n in $(seq 90 140); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { number=$n; break; }
done
Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
display=$!
export DISPLAY=":$number"

step "wine prefix"
wineboot -i >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 || true
wineserver -p 2>/dev/null || true  # kept running between the test programs

extra=("$@")
build() {  # build <arch>
  cmake -S "$root" -B "$out/$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-$1.cmake" "${extra[@]}" >/dev/null
  cmake --build "$out/$1" -j"$jobs"
}

failed=0
# The whole suite under Wine, with the report dialog's screenshot taken while the dialog test drives it.
suite() {  # suite <arch>
  local screenshot="$out/report-dialog-$1.png"
  rm -f "$screenshot"
  VIVO_SCREENSHOT_COMMAND="/usr/bin/import -window root $screenshot" VIVO_SCREENSHOT_FILE="Z:$screenshot" \
    ctest --test-dir "$out/$1" --output-on-failure -j"$jobs" || failed=1
  if [ -s "$screenshot" ]; then echo "report dialog screenshot: $screenshot"; else echo "no report dialog screenshot"; failed=1; fi
}

step "build x86_64"
build x86_64
step "build i686"
build i686

step "tests x86_64 (Wine, 64-bit)"
suite x86_64
step "tests i686, the product (Wine, 32-bit)"
suite i686
# The three builds alike, call for call: the replay driver (replay/) reads one corpus (the shipped INI
# files, every example project's change, every fuzz corpus input) against Vivo.so and both Vivo.dll
# builds; their transcripts must be byte for byte the same. The Linux build is the one in build/
# (VIVO_LINUX_BUILD), brought up to date first.
step "replay: Vivo.so, x86_64 and i686 Vivo.dll"
linux="${VIVO_LINUX_BUILD:-$root/build}"
"$root/scripts/build.sh" "$linux" >/dev/null
transcripts="$out/replay"
mkdir -p "$transcripts"
rm -f "$transcripts"/*.txt
calls=$("$linux/replay/vivo_replay" "$linux/Vivo.so" "$root" "$transcripts/linux.txt") || failed=1
echo "linux: $calls"
for arch in x86_64 i686; do
  ran=$(wine "$out/$arch/replay/vivo_replay.exe" "Z:$out/$arch/Vivo.dll" "Z:$root" "Z:$transcripts/$arch.txt") || failed=1
  echo "$arch: $(echo "$ran" | tr -d '\r')"
done
differences=0
for arch in x86_64 i686; do
  if [ -f "$transcripts/linux.txt" ] && [ -f "$transcripts/$arch.txt" ]; then
    lines=$(diff "$transcripts/linux.txt" "$transcripts/$arch.txt" | grep -c '^[<>]' || true)
    if [ "$lines" -gt 0 ]; then
      echo "replay: Vivo.so and the $arch Vivo.dll differ (first differences):"
      diff "$transcripts/linux.txt" "$transcripts/$arch.txt" | head -n 20 | cut -c1-300
    fi
  else
    lines=1
  fi
  differences=$((differences + lines))
done
echo "replay: ${calls% calls} calls compared across Vivo.so, the x86_64 and the i686 Vivo.dll: $differences differences"
[ "$differences" -eq 0 ] || failed=1

step "done"
exit "$failed"
