#!/usr/bin/env bash
# Fuzzes the settings-file reader and the preset loading with libFuzzer for a
# bounded time (FUZZ_SECONDS, default 60). A crash, hang or running out of
# memory fails. Builds the profile_fuzz target with clang in its own folder
# (BUILD_DIR, default build-fuzz), seeded from tests/settings/fuzz/corpus.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh clang libclang-rt-14-dev
out="${BUILD_DIR:-build-fuzz}"
BUILD_DIR="$out" scripts/build.sh -DCMAKE_CXX_COMPILER=clang++ -DKELT_FUZZ=ON -DKELT_WITH_QT=OFF \
  --target profile_fuzz
mkdir -p "$out/corpus"
# Each input is written as a settings file and synced to its device: on a
# memory file system that costs nothing, so the fuzzer tries far more inputs.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi
cp -n tests/settings/fuzz/corpus/* "$out/corpus/" 2>/dev/null || true
if ! "$out/tests/settings/fuzz/profile_fuzz" -max_total_time="${FUZZ_SECONDS:-60}" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$out/corpus" >"$out/fuzz.log" 2>&1; then
  cat "$out/fuzz.log"
  exit 1
fi
tail -n 6 "$out/fuzz.log"
