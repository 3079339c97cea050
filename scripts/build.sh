#!/usr/bin/env bash
# Configures and builds into build/ (or the folder in BUILD_DIR). Arguments
# of the form -DNAME=VALUE go to the configure step, the others to the build
# step, e.g. "--target keltally-cli" to build one program.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
configure=()
targets=()
for arg in "$@"; do
  case "$arg" in
    -D*) configure+=("$arg") ;;
    *) targets+=("$arg") ;;
  esac
done
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "${configure[@]}" >/dev/null
cmake --build "$build" "${targets[@]}"
