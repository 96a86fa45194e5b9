#!/usr/bin/env bash
# Installs Wine's 32-bit part (wine32:i386), which runs the product, the i686 Vivo.dll, unless it is
# installed already. Writes apt's output to the file given (default: a temporary file).
#
# What it does to the machine: adds the i386 architecture to dpkg, runs apt-get update and installs
# wine32:i386 with what it needs. When that plain install fails, as where the Debian security
# mirror's i386 index is out of step with amd64, it installs once more with both architectures pinned
# to the main point release (an apt preferences file, removed again afterwards); that may downgrade a
# few amd64 libraries from their security update to the point release, so that both architectures
# match. When wine32 still cannot be installed, it says why and fails.
set -euo pipefail
log="${1:-$(mktemp)}"
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
installed() { dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; }
if ! installed; then
  echo "installing: wine32:i386"
  dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
  # The i386 security index may fail to download: that is one of the cases the pin works around.
  $SUDO apt-get update -qq >"$log" 2>&1 || true
  if ! DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends wine32:i386 \
       >>"$log" 2>&1; then
    echo "plain install of wine32:i386 failed; installing it pinned to the point release"
    pin=/etc/apt/preferences.d/vivo-wine32
    printf 'Package: *\nPin: release l=Debian-Security\nPin-Priority: -1\n\nPackage: *\nPin: release n=%s\nPin-Priority: 1001\n' \
      "$(. /etc/os-release && echo "$VERSION_CODENAME")" | $SUDO tee "$pin" >/dev/null
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends --allow-downgrades \
      wine32:i386 >>"$log" 2>&1 || true
    $SUDO rm -f "$pin"
  fi
  if ! installed; then
    echo "Wine's 32-bit part (wine32:i386) cannot be installed, so the product (the i686 Vivo.dll) cannot be" \
      "tested; apt said (all of it in $log):" >&2
    grep -E '^(E|W):|Depends:|but .* is to be installed|conflicts' "$log" | tail -n 15 >&2 || true
    exit 1
  fi
fi
