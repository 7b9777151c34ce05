#!/usr/bin/env bash
# Whole-process figures of the project document: quoinry batch of 1,000 positions without a
# document, with --docx and with --pdf (time and peak memory), on the schedule of batch-bench.sh.
# Usage: scripts/project-document-bench.sh [POSITIONS]   (default 1000; builds the program first)
set -euo pipefail
cd "$(dirname "$0")/.."
n=${1:-1000}
cmake --build --preset release -j2 --target quoinry quoinry_qt >/dev/null
quoinry="$PWD/build/release/app/quoinry"
base="$PWD/examples/shanghai-24f-c2-casement.ini"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk -v n="$n" 'BEGIN {
    print "门窗编号,计算处标高(m),玻璃分格宽(mm),玻璃分格高(mm)"
    for (i = 0; i < n; i++)
        printf "C%06d,%d,%d,%d\r\n", i, 3 + (i * 7) % 150, 500 + (i * 37) % 1000, 900 + (i * 53) % 1200
}' >"$work/s.csv"
measure() {  # LABEL OPTIONS...
    local label=$1
    shift
    QUOINRY_HOME="$work" QT_QPA_PLATFORM=offscreen /usr/bin/time -f "%e %M" -o "$work/time" \
        "$quoinry" batch "$work/s.csv" --base "$base" --out "$work/out" --jobs 2 "$@" >/dev/null
    read -r seconds kb <"$work/time"
    awk -v n="$n" -v l="$label" -v s="$seconds" -v kb="$kb" \
        'BEGIN { printf "%s positions, %-6s %6.2f s  peak %6.1f MB\n", n, l, s, kb / 1024 }'
}
measure "-"
measure "--docx" --docx "$work/p.docx"
measure "--pdf" --pdf "$work/p.pdf"
ls -l "$work/p.docx" "$work/p.pdf" | awk '{printf "%s %.1f MB\n", $NF, $5 / 1048576}'
