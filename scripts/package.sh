#!/usr/bin/env bash
# Builds the Debian packages of Kel Tallyforge into out/ (installs what the
# build needs first): keltally-cli (the runner), keltally-views (pictures of a
# run) and keltally (the dialog). Prints their paths, one a line. Install
# them with: sudo apt install ./out/keltally*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh dpkg-dev
build="${BUILD_DIR:-build-package}"
# Built with the flags Debian builds its own packages with: -O2 and its
# hardening (stack protector, _FORTIFY_SOURCE, read-only relocations bound now).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DKELT_BUILD_TESTS=OFF -DKELT_WERROR="${KELT_WERROR:-OFF}" >/dev/null
cmake --build "$build" >&2
rm -f "$build"/keltally*.deb
(cd "$build" && cpack -G DEB >/dev/null)
mkdir -p out
rm -f out/keltally*.deb
for deb in "$build"/keltally*.deb; do
  cp "$deb" out/
  echo "out/$(basename "$deb")"
done
