#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite (plain and under ASan+UBSan).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh default
ctest --test-dir build --output-on-failure -j2
if [ "${SPK_SKIP_SANITIZERS:-0}" != 1 ]; then
    scripts/setup.sh asan
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
        ctest --test-dir build-asan --output-on-failure -j2
fi
