#!/usr/bin/env bash
# Installs what is missing, builds the program it starts, and starts Kel
# Tallyforge. Without a display it builds and runs the headless runner with the
# default preset in the current folder instead.
set -euo pipefail
here="$(pwd)"
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
case "$build" in
  /*) ;;
  *) build="$(pwd)/$build" ;;
esac
scripts/setup-debian.sh
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  BUILD_DIR="$build" scripts/build.sh --target keltally
  cd "$here"
  exec "$build/app/keltally" "$@"
fi
BUILD_DIR="$build" scripts/build.sh --target keltally-cli
cd "$here"
echo "No display: running the headless runner in $here instead." >&2
exec "$build/cli/keltally-cli" "$@"
