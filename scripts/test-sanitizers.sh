#!/usr/bin/env bash
# Builds and runs every test with AddressSanitizer and UndefinedBehaviorSanitizer,
# and the tests with more than one thread (engine, run session, view, dialog and runner)
# with ThreadSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
scripts/setup-debian.sh
export QT_QPA_PLATFORM=offscreen

BUILD_DIR=build-asan BUILD_TYPE=Debug scripts/build.sh -DKELT_SANITIZE=address -DKELT_CHECK_HEADERS=OFF
(cd build-asan && ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure -j2)

BUILD_DIR=build-tsan scripts/build.sh -DKELT_SANITIZE=thread --target engine_tests view_tests app_tests cli_tests session_tests
(cd build-tsan && TSAN_OPTIONS="suppressions=$root/tests/tsan.supp halt_on_error=1 second_deadlock_stack=1" \
  ctest --output-on-failure -j2 -L '^(engine_tests|view_tests|app_tests|cli_tests|session_tests)$')
