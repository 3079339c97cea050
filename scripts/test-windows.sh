#!/usr/bin/env bash
# Cross-builds the engine, settings, drives and platform code for 64- and
# 32-bit Windows (mingw-w64) and runs their tests under Wine. Installs what it
# needs (as root, or with sudo). Wine lives in a private, temporary prefix.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
packages=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 googletest cmake ninja-build)
missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq || true
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The 32-bit Wine comes from the i386 architecture. Where its packages cannot
# be had (a mirror in the middle of a sync), the 32-bit build is still made
# but its tests cannot run, and the machine's package lists are left as found.
if ! installed wine32; then
  added=""
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
    added=yes
  fi
  if ! { $sudo apt-get update -qq && DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends wine32; }; then
    echo "wine32 could not be installed: the 32-bit tests will not run" >&2
    if [ -n "$added" ]; then
      $sudo dpkg --remove-architecture i386 && $sudo apt-get update -qq || true
    fi
  fi
fi

WINEPREFIX="$(mktemp -d)"
export WINEPREFIX WINEDEBUG=-all WINEARCH=win64
stop() {
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap stop EXIT
# A running server and one finished program first: else the first test can
# hang on a pipe it inherits from the prefix's start-up.
wineserver -p
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

for target in win64 win32; do
  build="${BUILD_PREFIX:-build}-$target"
  bits=${target#win}
  cmake -S . -B "$build" -G Ninja -DKELT_WERROR="${KELT_WERROR:-OFF}" \
        -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-mingw$bits.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$build"
  if [ "$target" = win32 ] && ! installed wine32; then
    echo "Windows 32-bit: built; its tests were not run (no wine32 here)" >&2
    continue
  fi
  (cd "$build" && ctest --output-on-failure -j2)
done
