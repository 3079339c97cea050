#!/usr/bin/env bash
# Installs what is missing, builds, and starts Kel Tallyforge. Without a
# display it runs the headless runner with the default preset in the current
# directory instead.
set -euo pipefail
here="$(pwd)"
cd "$(dirname "$0")/.."
scripts/setup-debian.sh
scripts/build.sh
build="$(pwd)/${BUILD_DIR:-build}"
cd "$here"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$build/app/keltally" ]; then
  exec "$build/app/keltally" "$@"
fi
echo "No display: running the headless runner in $here instead." >&2
exec "$build/app/keltally-cli" "$@"
