#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulator with two devices and the editor beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh default
build/sim/spksim --ids 1,5 &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
if [ -x build/src/spkedit ]; then
    build/src/spkedit
else
    wait $sim
fi
