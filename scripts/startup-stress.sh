#!/usr/bin/env bash
# scripts/startup-stress.sh [STARTS=200] [PROGRAM=build/src/spkedit]
# Starts the editor STARTS times while every core is kept busy, each start until its first paint
# (--bench-startup), half offscreen and half under Xvfb (installed if missing and possible). Any
# start that does not end with exit 0 and its "first-paint" line is kept with its whole output in
# build/startup-stress/. Not part of the test suite: it takes minutes.
set -uo pipefail
cd "$(dirname "$0")/.."
starts="${1:-200}"
program="${2:-build/src/spkedit}"
out=build/startup-stress
rm -rf "$out" && mkdir -p "$out"
[ -x "$program" ] || { echo "no $program: build it first"; exit 2; }

if ! command -v xvfb-run >/dev/null && [ "$(id -u)" -eq 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends xvfb xauth >/dev/null 2>&1 ||
        { apt-get update -qq >/dev/null 2>&1 && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends xvfb xauth >/dev/null 2>&1; }
fi
xvfb=0
command -v xvfb-run >/dev/null && xvfb=1

# One busy loop per core, ended by their own process IDs.
busy=()
for _ in $(seq "$(nproc)"); do
    (while :; do :; done) &
    busy+=($!)
done
trap 'kill "${busy[@]}" 2>/dev/null' EXIT

abnormal=0
declare -A platforms=()
for i in $(seq "$starts"); do
    log="$out/start-$i.log"
    if ((xvfb && i % 2 == 0)); then
        platform=xcb
        QT_QPA_PLATFORM=xcb timeout 120 xvfb-run -a "$program" --bench-startup >"$log" 2>&1
    else
        platform=offscreen
        QT_QPA_PLATFORM=offscreen timeout 120 "$program" --bench-startup >"$log" 2>&1
    fi
    rc=$?
    platforms[$platform]=$((${platforms[$platform]:-0} + 1))
    if ((rc != 0)) || ! grep -q '^first-paint' "$log"; then
        abnormal=$((abnormal + 1))
        reason="exit $rc"
        ((rc > 128)) && reason="signal $((rc - 128)) ($(kill -l $((rc - 128)) 2>/dev/null))"
        ((rc == 124)) && reason="no first paint within 120 s"
        echo "start $i ($platform): $reason; output in $log"
        sed 's/^/    /' "$log" | tail -n 20
    else
        rm -f "$log"
    fi
done
summary="$starts starts (offscreen ${platforms[offscreen]:-0}, xvfb ${platforms[xcb]:-0}) on $(nproc) busy cores: $abnormal abnormal"
((xvfb)) || summary+=" (no xvfb-run: offscreen only)"
echo "$summary"
((abnormal == 0))
