#!/usr/bin/env bash
# One entry point for a fresh Debian machine:
#   ./dev.sh start     install missing packages, build, start the windows (with a display) or
#                      run the sample design on the command line
#   ./dev.sh test      install missing packages, build, run every test (database tests also
#                      against a throwaway PostgreSQL server, scripts/with-postgres.sh)
#   ./dev.sh sanitize  the core tests under AddressSanitizer and UndefinedBehaviorSanitizer, and
#                      every fuzz target built and run on its seeds
#   ./dev.sh bench     run the benchmarks
#   ./dev.sh web       the core as WebAssembly (build/wasm), the golden designs under node, the
#                      page (web/dist/quoinry.html) and its walkthrough in headless Chromium
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc 2>/dev/null || echo 2)

# QUOINRY_WERROR=ON (CI sets it) makes every compiler warning an error.
build() {
    scripts/install-packages.sh
    cmake --preset "$1" -DQUOINRY_WERROR="${QUOINRY_WERROR:-OFF}" >/dev/null
    cmake --build --preset "$1" -j"$jobs"
}

case "${1:-start}" in
    start)
        build release
        if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
            exec build/release/app/quoinry
        fi
        out="build/release/app/temp"
        build/release/app/quoinry run examples/shanghai-24f-residential.ini --out "$out"
        echo "Reports written to $out: wind.txt, glass.txt, gj.txt"
        ;;
    test)
        build release
        scripts/with-postgres.sh ctest --preset release -j"$jobs"
        ;;
    sanitize)
        build sanitize
        scripts/with-postgres.sh ctest --preset sanitize -j"$jobs"
        ;;
    bench)
        build release
        build/release/bench/quoinry_bench
        scripts/nested-squares-bench.sh
        ;;
    web)
        scripts/install-packages.sh scripts/web-packages.txt
        command -v npm >/dev/null || scripts/install-packages.sh scripts/web-npm-packages.txt
        export NODE_PATH=/usr/share/nodejs
        cmake --preset wasm >/dev/null
        cmake --build --preset wasm -j"$jobs"
        scripts/web-golden.sh
        (cd web && npm ci --no-audit --no-fund --loglevel=error && node build.mjs \
            ../build/wasm/src/web/quoinry-core.js && node walkthrough.mjs)
        ;;
    *)
        echo "usage: ./dev.sh [start|test|sanitize|bench|web]" >&2
        exit 2
        ;;
esac
