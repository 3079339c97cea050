#!/usr/bin/env bash
# Configures and builds into build/ (or the folder in BUILD_DIR). Arguments
# of the form -DNAME=VALUE go to the configure step, the others to the build
# step, e.g. "--target keltally-cli" to build one program. KELT_WERROR=ON in
# the environment turns warnings into errors (CI sets it); an explicit
# -DKELT_WERROR=... argument wins.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
configure=(-DKELT_WERROR="${KELT_WERROR:-OFF}")
targets=()
for arg in "$@"; do
  case "$arg" in
    -D*) configure+=("$arg") ;;
    *) targets+=("$arg") ;;
  esac
done
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-RelWithDebInfo}" "${configure[@]}" >/dev/null
cmake --build "$build" "${targets[@]}"
