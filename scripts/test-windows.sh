#!/usr/bin/env bash
# Cross-builds the engine, settings, drives and platform code for 64- and
# 32-bit Windows (mingw-w64) and runs their tests under Wine. Installs what it
# needs (as root, or with sudo). Wine lives in a private, temporary prefix.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
packages=(g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 wine32 googletest cmake ninja-build)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  # wine32 comes from the i386 architecture.
  dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
  # A mirror in the middle of a sync fails an index now and then: try again.
  for attempt in 1 2 3; do
    $sudo apt-get update -qq && break
    [ "$attempt" -lt 3 ] && sleep 10
  done
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
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
  (cd "$build" && ctest --output-on-failure -j2)
done
