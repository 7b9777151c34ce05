#!/usr/bin/env bash
# The WebAssembly build gives the native answers: its number and CP936 stand-ins pass their
# cases and the page's entry points theirs; every golden design (both code editions) runs through
# the browser build's command line under node, and its reports, standard output, standard error
# and exit status are compared byte for byte with the stored expectations; the test drawings'
# section values are compared line for line with the native program's, when it is built.
# Usage: scripts/web-golden.sh [WASM_BUILD_DIR [NATIVE_BUILD_DIR]]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
wasm="${1:-$root/build/wasm}/src/web/quoinry.js"
native="${2:-$root/build/release}/app/quoinry"
export NODE_PATH=/usr/share/nodejs
# A hang is a failure too.
quoinry_wasm() { timeout 60 node --no-experimental-fetch "$wasm" "$@"; }

# The stand-ins for what the browser build's C++ library lacks, at their limits.
node --no-experimental-fetch "$(dirname "$wasm")/quoinry_compat_test.js"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The page's entry points.
if ! QUOINRY_CORE="$(dirname "$wasm")/quoinry-core.js" node --no-experimental-fetch --test \
    "$root/tests/web/page_api_test.mjs" >"$work/page_api.txt" 2>&1; then
    cat "$work/page_api.txt" >&2
    exit 1
fi
grep -E '^# (pass|fail)' "$work/page_api.txt" | tr '\n' ' ' && echo
designs=0
failures=0
for design in "$root"/tests/golden*/*/; do
    expected="$design/expected"
    [[ -d "$expected" ]] || continue
    out="$work/$(basename "$(dirname "$design")")-$(basename "$design")"
    mkdir -p "$out"
    set +e
    quoinry_wasm run "$design/design.ini" --out "$out" >"$out/stdout.txt" 2>"$out/stderr.txt"
    echo $? >"$out/exit.txt"
    set -e
    designs=$((designs + 1))
    if ! diff -r "$expected" "$out" >/dev/null; then
        echo "DIFFERS: ${design#"$root"/}" >&2
        diff -r "$expected" "$out" | head -20 >&2 || true
        failures=$((failures + 1))
    fi
done
# A run that finds no design passes nothing.
if ((designs < 60)); then
    echo "web-golden: only $designs golden designs found" >&2
    exit 1
fi
echo "web-golden: $designs golden designs, $failures differ"

drawings=0
# The system's python3 first: another one on PATH may lack Debian's python3-ezdxf.
python=/usr/bin/python3
[[ -x "$python" ]] || python=python3
if [[ -x "$native" ]] && "$python" -c "import ezdxf" 2>/dev/null; then
    "$python" "$root/tests/dxf/make_drawings.py" "$work/dxf" >/dev/null
    for dxf in "$work"/dxf/*.dxf; do
        for region in 1 2; do
            set +e
            "$native" section "$dxf" --region $region >"$work/native.txt" 2>&1
            echo "exit $?" >>"$work/native.txt"
            quoinry_wasm section "$dxf" --region $region >"$work/wasm.txt" 2>&1
            echo "exit $?" >>"$work/wasm.txt"
            set -e
            drawings=$((drawings + 1))
            if ! cmp -s "$work/native.txt" "$work/wasm.txt"; then
                echo "DIFFERS: section $(basename "$dxf") --region $region" >&2
                diff "$work/native.txt" "$work/wasm.txt" | head -10 >&2 || true
                failures=$((failures + 1))
            fi
        done
    done
    echo "web-golden: $drawings drawing regions measured alike"
else
    echo "web-golden: the native build or python3-ezdxf is missing; drawings not compared" >&2
fi
((failures == 0))
