#!/usr/bin/env bash
# Whole-process figures of quoinry section on deeply nested outlines: N concentric squares one
# unit apart in one drawing (45,000 by default, a 4.4 MB DXF), time and peak memory, checked
# against 5 s and 300 MB. Finding which loop lies in which once cost memory growing with the
# square of the number of loops.
# Usage: scripts/nested-squares-bench.sh [N]   (builds the release program first)
set -euo pipefail
cd "$(dirname "$0")/.."
n=${1:-45000}
cmake --build --preset release -j2 --target quoinry >/dev/null
quoinry="$PWD/build/release/app/quoinry"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk -v n="$n" 'BEGIN {
    printf "0\nSECTION\n2\nENTITIES\n"
    for (k = 0; k < n; k++) {
        a = k; b = 2 * n - k
        printf "0\nLWPOLYLINE\n8\n0\n90\n4\n70\n1\n10\n%d\n20\n%d\n10\n%d\n20\n%d\n", a, a, b, a
        printf "10\n%d\n20\n%d\n10\n%d\n20\n%d\n", b, b, a, b
    }
    printf "0\nENDSEC\n0\nEOF\n"
}' >"$work/nested.dxf"
status=0
/usr/bin/time -f "%e %M" -o "$work/time" "$quoinry" section "$work/nested.dxf" --region 1 \
    >"$work/out" 2>"$work/err" || status=$?
read -r seconds kilobytes <"$work/time"
echo "$n nested squares ($(du -h "$work/nested.dxf" | cut -f1)): ${seconds} s, $((kilobytes / 1024)) MB, exit $status"
if [ "$status" -ne 0 ] || ! grep -q '^A=' "$work/out"; then
    echo "FAIL: the section was not measured" >&2
    cat "$work/err" >&2
    exit 1
fi
awk -v s="$seconds" -v k="$kilobytes" 'BEGIN { exit !(s < 5 && k < 300 * 1024) }' ||
    { echo "FAIL: over 5 s or 300 MB" >&2; exit 1; }
