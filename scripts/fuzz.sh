#!/usr/bin/env bash
# scripts/fuzz.sh TARGET SECONDS: runs fuzz target TARGET (tests/fuzz/fuzz_TARGET.cpp) on every
# regression input, then fuzzes it for SECONDS from its seed corpus. New corpus entries stay in
# build-fuzz/corpus/TARGET; a crash input is written to build-fuzz/crashes/TARGET/ — keep it in
# tests/fuzz/regressions/TARGET/ once the fault is fixed. Builds the fuzz preset unless
# SPK_FUZZ_BUILD names a build already made (CTest does).
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:?usage: scripts/fuzz.sh TARGET SECONDS}"
seconds="${2:-60}"
build="${SPK_FUZZ_BUILD:-}"
if [ -z "$build" ]; then
    build=build-fuzz
    cmake --preset fuzz >/dev/null
    cmake --build "$build" --target "fuzz_$target"
fi
bin="$build/tests/fuzz/fuzz_$target"
seeds="tests/fuzz/corpus/$target"
regressions="tests/fuzz/regressions/$target"
work="$build/corpus/$target"
crashes="$build/crashes/$target"
mkdir -p "$work" "$crashes"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0:allocator_may_return_null=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

log="$build/fuzz-$target.log"
mapfile -t known < <(find "$regressions" -type f ! -name README.md 2>/dev/null | sort)
if ((${#known[@]})); then
    echo "fuzz_$target: ${#known[@]} regression inputs"
    if ! "$bin" "${known[@]}" >"$log" 2>&1; then
        tail -n 40 "$log"
        exit 1
    fi
fi
# A blow-up (-rss_limit_mb) or a hang (-timeout) is a finding too.
rc=0
"$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
    -artifact_prefix="$crashes/" "$work" "$seeds" >"$log" 2>&1 || rc=$?
if ((rc)); then
    tail -n 60 "$log"
    echo "fuzz_$target: failed (exit $rc); input in $crashes/"
    exit "$rc"
fi
grep -E '^#[0-9]+\s+(INITED|DONE)' "$log" | tail -n 2
grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$log"
