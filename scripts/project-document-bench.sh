#!/usr/bin/env bash
# Whole-process figures of the project document: quoinry batch of POSITIONS positions without a
# document, with --docx and with --pdf (wall time, processor time and peak memory; the median
# of RUNS runs), on the schedule of batch-bench.sh.
# Usage: scripts/project-document-bench.sh [POSITIONS] [RUNS] [--app DIR] [--only -|docx|pdf]
#        (default 1000 positions, 1 run, build/release/app, all three; builds the program first)
set -euo pipefail
cd "$(dirname "$0")/.."
args=()
app="$PWD/build/release/app"
only=""
while (($#)); do
    case $1 in
        --app) app=$(cd "$2" && pwd); shift 2 ;;
        --only) only=$2; shift 2 ;;
        *) args+=("$1"); shift ;;
    esac
done
n=${args[0]:-1000}
runs=${args[1]:-1}
if [[ $app == "$PWD/build/release/app" ]]; then
    cmake --build --preset release -j2 --target quoinry quoinry_qt >/dev/null
fi
quoinry="$app/quoinry"
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
    for _ in $(seq "$runs"); do
        QUOINRY_HOME="$work" QT_QPA_PLATFORM=offscreen /usr/bin/time -f "%e %U %S %M" \
            -o "$work/time" "$quoinry" batch "$work/s.csv" --base "$base" --out "$work/out" \
            --jobs 2 "$@" >/dev/null
        cat "$work/time"
    done | sort -n | awk -v n="$n" -v l="$label" '{ s[NR] = $1; c[NR] = $2 + $3; m[NR] = $4 }
        END { k = int((NR + 1) / 2)
              printf "%s positions, %-6s %7.2f s wall  %7.2f s processor  peak %6.1f MB  (median of %d)\n",
                     n, l, s[k], c[k], m[k] / 1024, NR }'
}
[[ -z $only || $only == - ]] && measure "-"
[[ -z $only || $only == docx ]] && measure "--docx" --docx "$work/p.docx"
[[ -z $only || $only == pdf ]] && measure "--pdf" --pdf "$work/p.pdf"
ls -l "$work"/p.* 2>/dev/null | awk '{printf "%s %.1f MB\n", $NF, $5 / 1048576}'
