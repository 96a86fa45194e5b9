#!/usr/bin/env bash
# Builds the Windows plug-in with Debian's mingw-w64 — i686 (Vivo.dll, the product for the 32-bit
# host) and x86_64 — and runs the whole test suite under Wine against each: the i686 one under Wine's
# 32-bit part (wine32:i386), which it installs (see below), with a virtual display (Xvfb) for the
# report dialog. Installs what is missing; fails when either suite fails or cannot run.
#
#   scripts/windows-tests.sh [output folder, default build-windows/] [extra CMake arguments...]
#
# The output folder holds x86_64/ and i686/ (the builds), wine-prefix/, wine32-install.log and
# report-dialog-<arch>.png, the screenshot of the report dialog taken by each run's dialog test.
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

# Wine's 32-bit part (wine32:i386) runs the product, the i686 DLL. The plain install is tried first.
# Where the Debian security mirror's i386 index is out of step with amd64, that fails on version
# conflicts; then it is installed once more with both architectures pinned to the main point release
# (an apt preferences file, removed again afterwards), which may downgrade a few amd64 libraries from
# their security update to the point release so that both architectures match. Without wine32 the
# product would go untested: the run fails, saying why.
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
installed() { dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; }
if ! installed; then
  step "wine32:i386"
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
  # The i386 security index may fail to download: that is one of the cases the pin works around.
  $SUDO apt-get update -qq >"$out/wine32-install.log" 2>&1 || true
  if ! DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends wine32:i386 \
       >>"$out/wine32-install.log" 2>&1; then
    echo "plain install of wine32:i386 failed; installing it pinned to the point release"
    pin=/etc/apt/preferences.d/vivo-wine32
    printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: -1\n\nPackage: *\nPin: release n=%s\nPin-Priority: 1001\n' \
      "$(. /etc/os-release && echo "$VERSION_CODENAME")" | $SUDO tee "$pin" >/dev/null
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends --allow-downgrades \
      wine32:i386 >>"$out/wine32-install.log" 2>&1 || true
    $SUDO rm -f "$pin"
  fi
  if ! installed; then
    echo "Wine's 32-bit part (wine32:i386) cannot be installed, so the product (the i686 Vivo.dll) cannot be" \
      "tested; apt said:" >&2
    grep -E '^(E|W):|Depends:|but .* is to be installed|conflicts' "$out/wine32-install.log" | tail -n 15 >&2 || true
    exit 1
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
step "done"
exit "$failed"
