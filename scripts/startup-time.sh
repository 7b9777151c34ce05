#!/usr/bin/env bash
# Start-up time of the windows: from starting the program to the first paint of its main
# window, under Xvfb, over several runs. QUOINRY_EXIT_AFTER_FIRST_PAINT makes the program end
# right after that paint, so the whole process time is the figure.
# Usage: scripts/startup-time.sh [RUNS]   (default 15; builds the release program first)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
scripts/install-packages.sh
cmake --build --preset release -j2 --target quoinry >/dev/null
app="$PWD/build/release/app"
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/mdb" "$home/temp"
cp -r "$app/pic" "$app/image" "$app/help" "$home/"
export QUOINRY_HOME="$home" QUOINRY_EXIT_AFTER_FIRST_PAINT=1
# One run first warms the file cache; each later run is timed on its own.
xvfb-run -a -s "-screen 0 1400x1000x24" bash -c '
    "$1/quoinry"
    for _ in $(seq "$2"); do
        start=$(date +%s%N)
        "$1/quoinry"
        end=$(date +%s%N)
        echo $(((end - start) / 1000000))
    done' _ "$app" "$runs" |
    sort -n |
    awk '{ms[NR] = $1} END {
        printf "start to first paint, %d runs: min %d ms, median %d ms, max %d ms\n",
               NR, ms[1], ms[int((NR + 1) / 2)], ms[NR]}'
