#!/usr/bin/env bash
# Runs the end-to-end and USB tests N times (default 20) while a busy loop runs on every core, in
# the plain build and under ThreadSanitizer, and prints how many runs passed. A test that fails only
# here waits on time instead of on what it needs, or the code it tests loses something under load.
#   scripts/stress.sh [N] [ctest -R regex of the plain tests]
set -euo pipefail
cd "$(dirname "$0")/.."
runs="${1:-20}"
plain="${2:-^(tst_e2e_.*|tst_spktool_wire|tst_spktool_usb|link_hid)\$}"

scripts/setup.sh default >/dev/null
SPK_TSAN_BUILD_ONLY=1 scripts/tsan.sh >/dev/null

busy=()
for _ in $(seq "$(nproc)"); do
    (while :; do :; done) &
    busy+=($!)
done
trap 'kill "${busy[@]}" 2>/dev/null' EXIT

logs=$(mktemp -d)
stage() { # name, build dir, regex, extra environment
    local name=$1 dir=$2 regex=$3 passed=0
    shift 3
    for run in $(seq "$runs"); do
        if env "$@" ctest --test-dir "$dir" -j2 -R "$regex" --output-on-failure >"$logs/$name-$run.log" 2>&1; then
            passed=$((passed + 1))
        else
            echo "$name run $run failed: $(grep -h -m3 -E '^FAIL!|\*\*\*Failed|WARNING: ThreadSanitizer' "$logs/$name-$run.log" | tr '\n' ' ')"
        fi
    done
    echo "$name: $passed/$runs passed on $(nproc) busy cores"
    [ "$passed" -eq "$runs" ]
}
status=0
stage plain build "$plain" || status=1
stage tsan build-tsan "$(scripts/tsan.sh --regex)" \
    TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$PWD/tests/tsan.supp" || status=1
[ "$status" -eq 0 ] && rm -rf "$logs" || echo "logs of the failed runs: $logs"
exit "$status"
