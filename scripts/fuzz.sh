#!/usr/bin/env bash
# Fuzzes the settings-file reader and the preset loading with libFuzzer for a
# bounded time (FUZZ_SECONDS, default 60). A crash, hang or running out of
# memory fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup-debian.sh clang libclang-rt-14-dev
out="${BUILD_DIR:-build-fuzz}"
mkdir -p "$out/corpus"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I. \
  tests/settings/fuzz/ProfileFuzz.cpp settings/*.cpp platform/TextRules.cpp platform/posix/PosixFileSync.cpp -o "$out/profile_fuzz"
cp -n tests/settings/fuzz/corpus/* "$out/corpus/" 2>/dev/null || true
if ! "$out/profile_fuzz" -max_total_time="${FUZZ_SECONDS:-60}" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$out/corpus" >"$out/fuzz.log" 2>&1; then
  cat "$out/fuzz.log"
  exit 1
fi
tail -n 6 "$out/fuzz.log"
