#!/usr/bin/env bash
# Builds and runs the tests that run threads (HID read threads of the editor and spktool, port
# prefetch, the simulator's pty server) under ThreadSanitizer, in build-tsan; only those are built.
#   --regex                 prints the ctest regex of those tests and stops
#   SPK_TSAN_BUILD_ONLY=1   builds them and stops
set -euo pipefail
cd "$(dirname "$0")/.."
tests=(link_hid tst_e2e_usb tst_spktool_usb tst_startupparts tst_simserver)
regex="^($(IFS='|'; echo "${tests[*]}"))\$"
if [ "${1:-}" = --regex ]; then
    echo "$regex"
    exit 0
fi
cmake --preset tsan >/dev/null
cmake --build build-tsan --target "${tests[@]}"
[ "${SPK_TSAN_BUILD_ONLY:-0}" = 1 ] && exit 0
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tsan.supp" \
    ctest --test-dir build-tsan --output-on-failure -j2 -R "$regex"
