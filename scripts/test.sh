#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: plain, under ASan+UBSan, the
# tests that run threads under ThreadSanitizer, and every fuzz target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh default
ctest --test-dir build --output-on-failure -j2
if [ "${SPK_SKIP_SANITIZERS:-0}" != 1 ]; then
    scripts/setup.sh asan
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure -j2
    scripts/tsan.sh
fi
if [ "${SPK_SKIP_FUZZ:-0}" != 1 ] && command -v clang++ >/dev/null; then
    scripts/setup.sh fuzz
    ctest --test-dir build-fuzz --output-on-failure -j2
fi
