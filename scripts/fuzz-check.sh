#!/usr/bin/env bash
# Builds every libFuzzer target under fuzz/ (clang, AddressSanitizer and UBSan, build/fuzz) and
# runs each for a few seconds on its seeds, by hand before a change to a reader (CI builds the
# same targets in the sanitize build and runs them on their seeds: FuzzSeeds.*). Long runs are
# by hand (fuzz/CMakeLists.txt).
# Usage: scripts/fuzz-check.sh [SECONDS]   (default 5 per target)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-5}
scripts/install-packages.sh
export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER-$(command -v ccache || true)}
CXX=clang++ CC=clang cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUOINRY_FUZZ=ON \
    -DQUOINRY_BUILD_TESTS=OFF -DQUOINRY_BUILD_BENCH=OFF >/dev/null
targets=$(sed -n 's/^foreach(target \(.*\))$/\1/p; s/^add_executable(\([a-z_]*_fuzz\) .*/\1/p' \
    fuzz/CMakeLists.txt | tr ' ' '\n' | grep '_fuzz$' | sort -u)
# shellcheck disable=SC2086
cmake --build build/fuzz -j2 --target $targets
corpus_of() {
    case "$1" in
        wmf_reader_fuzz) echo wmf ;; dxf_reader_fuzz) echo dxf ;; mdb_file_fuzz) echo mdb ;;
        csv_table_fuzz) echo csv ;; xlsx_table_fuzz) echo xlsx ;; xlsx_sheet_fuzz) echo sheet ;;
        design_file_fuzz) echo design ;; project_file_fuzz) echo project ;; *) echo "" ;;
    esac
}
for target in $targets; do
    work=$(mktemp -d)
    seeds=$(corpus_of "$target")
    [ -n "$seeds" ] && cp -r "fuzz/corpus/$seeds/." "$work/"
    echo "== $target ($seconds s)"
    (cd "$work" && "$OLDPWD/build/fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=0 . >"$work.log" 2>&1) ||
        { tail -40 "$work.log"; rm -rf "$work" "$work.log"; exit 1; }
    grep -E '^(Done|#[0-9]+.*DONE)' "$work.log" | tail -1 || true
    rm -rf "$work" "$work.log"
done
