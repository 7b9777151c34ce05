#!/usr/bin/env bash
# Whole-process figures of quoinry batch: a schedule of 10,000 positions (every report and the
# summary written) timed over several runs, and the peak memory of 10,000 and 100,000 rows, which
# must stay flat because positions stream through. The output folder is on the file system of
# TMPDIR (default /tmp); file creation dominates, so that is part of the figure. Each run writes
# a fresh folder after a sync: deleting 40,000 files of the run before (with discard on the
# mount) would otherwise be timed too.
# Usage: scripts/batch-bench.sh [RUNS]   (default 5; builds the release program first)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
scripts/install-packages.sh
cmake --build --preset release -j2 --target quoinry >/dev/null
quoinry="$PWD/build/release/app/quoinry"
base="$PWD/examples/shanghai-24f-c2-casement.ini"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Rows as a window schedule has them: name, height, pane size, member form and geometry.
schedule() {
    awk -v n="$1" 'BEGIN {
        print "\xEF\xBB\xBF门窗编号,计算处标高(m),玻璃分格宽(mm),玻璃分格高(mm),杆件形式,gj.te2,gj.te3,gj.te4"
        for (i = 0; i < n; i++) {
            vertical = i % 3 != 0
            printf "C%06d,%d,%d,%d,%s,%d,%d,%d\r\n", i, 3 + (i * 7) % 150, 500 + (i * 37) % 1000,
                   900 + (i * 53) % 1200, vertical ? "竖向杆件" : "横向杆件",
                   vertical ? 600 : 1500, vertical ? 0 : 1400, vertical ? 1400 : 600
        }
    }' >"$2"
}
schedule 10000 "$work/10k.csv"
schedule 100000 "$work/100k.csv"

measure() {  # SCHEDULE JOBS -> "seconds peak_kb"
    local out
    out=$(mktemp -d "$work/out.XXXXXX")
    sync
    /usr/bin/time -f "%e %M" -o "$work/time" "$quoinry" batch "$1" --out "$out" \
        --base "$base" --jobs "$2" >/dev/null
    cat "$work/time"
}

for jobs in 1 2; do
    for _ in $(seq "$runs"); do measure "$work/10k.csv" "$jobs"; done | sort -n |
        awk -v jobs="$jobs" '{s[NR] = $1; m = $2} END {
            printf "10,000 positions, --jobs %d, %d runs: min %.2f s, median %.2f s, max %.2f s\n",
                   jobs, NR, s[1], s[int((NR + 1) / 2)], s[NR]}'
done
read -r _ small < <(measure "$work/10k.csv" 2)
read -r seconds large < <(measure "$work/100k.csv" 2)
echo "peak memory: 10,000 rows ${small} KB, 100,000 rows ${large} KB (100,000 rows in ${seconds} s)"
