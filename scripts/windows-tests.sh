#!/usr/bin/env bash
# Builds the Windows plug-in with Debian's mingw-w64 — i686 (Vivo.dll for the 32-bit host) and x86_64
# — and runs the whole test suite under Wine against the x86_64 DLL, with a virtual display (Xvfb) for
# the report dialog. The i686 build's export table and version record are checked always; its tests
# run too when Wine's 32-bit part can be installed. Installs what is missing.
#
#   scripts/windows-tests.sh [output folder, default build-windows/] [extra CMake arguments...]
#
# The output folder holds x86_64/ and i686/ (the builds), wine-prefix/ and report-dialog.png, the
# screenshot of the report dialog taken by the dialog test. VIVO_WINE32=0 skips the attempt to
# install Wine's 32-bit part.
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

# Wine's 32-bit part needs the i386 architecture. When it cannot be installed (no i386 packages on
# the mirror, or versions out of step), the architecture is taken away again so that later package
# updates stay clean, and the i686 tests are not run.
wine32=no
if dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
  wine32=yes
elif [ "${VIVO_WINE32:-1}" != 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  added=no
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386 && added=yes
  fi
  if $SUDO apt-get update -qq >/dev/null 2>&1 &&
     DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends wine32:i386 >/dev/null 2>&1; then
    wine32=yes
  else
    echo "Wine's 32-bit part (wine32:i386) cannot be installed here: the i686 tests are not run"
    if [ "$added" = yes ] && [ -z "$(dpkg-query -W -f='${binary:Package}\n' '*:i386' 2>/dev/null)" ]; then
      $SUDO dpkg --remove-architecture i386 || true
      $SUDO apt-get update -qq >/dev/null 2>&1 || true
    fi
  fi
fi

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
build() {  # build <arch> <tests ON/OFF>
  cmake -S "$root" -B "$out/$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIVO_BUILD_TESTS="$2" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-$1.cmake" "${extra[@]}" >/dev/null
  cmake --build "$out/$1" -j"$jobs"
}

step "build x86_64"
build x86_64 ON
step "build i686"
# Without Wine's 32-bit part the i686 tests could not run: only the product is built.
if [ "$wine32" = yes ]; then build i686 ON; else build i686 OFF; fi

screenshot="$out/report-dialog.png"
rm -f "$screenshot"
export VIVO_SCREENSHOT_COMMAND="/usr/bin/import -window root $screenshot"
export VIVO_SCREENSHOT_FILE="Z:$screenshot"

failed=0
step "tests x86_64 (Wine)"
ctest --test-dir "$out/x86_64" --output-on-failure -j"$jobs" || failed=1
if [ -s "$screenshot" ]; then echo "report dialog screenshot: $screenshot"; fi

if [ "$wine32" = yes ]; then
  step "tests i686 (Wine, 32-bit)"
  unset VIVO_SCREENSHOT_COMMAND VIVO_SCREENSHOT_FILE
  ctest --test-dir "$out/i686" --output-on-failure -j"$jobs" || failed=1
else
  step "i686: export table and version record"
  cmake -DVIVO_PLUGIN_FILE="$out/i686/Vivo.dll" -DVIVO_EXPORTS_LIST="$root/src/interface/exports.list" \
    -P "$root/tests/win32/windows_exports.cmake" || failed=1
fi
step "done"
exit "$failed"
