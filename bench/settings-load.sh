#!/usr/bin/env bash
# Builds and runs the settings-load benchmark; arguments go to the program.
# Usage: bench/settings-load.sh [--sizes 1,20,100] [--rounds 3] [--filler blank|comments|keys|sections|all] [--dir DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh --target settings_load_bench >/dev/null
exec "${BUILD_DIR:-build}/bench/settings_load_bench" "$@"
