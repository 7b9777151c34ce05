#!/usr/bin/env bash
# Start-up time of the windows: from starting the program to the first paint of its main
# window, under Xvfb, over several runs, with the processor time the program used.
# QUOINRY_EXIT_AFTER_FIRST_PAINT makes the program end right after that paint, so the whole
# process time is the figure.
# Usage: scripts/startup-time.sh [--cold] [--first-start] [--app DIR] [RUNS]
#   --cold         before each run the program, the libraries and Qt plugins it loads, its
#                  pictures, translations and the fonts are dropped from the page cache, as after
#                  a reboot (files other processes keep mapped stay cached: a lower bound)
#   --first-start  each run on an empty program directory (no database, no settings) and an
#                  empty HOME and XDG folders (no caches of the user)
#   --app DIR      the program in DIR (another build) instead of build/release/app, which is
#                  built first
# RUNS defaults to 15. Without --cold one untimed run first warms the file cache.
set -euo pipefail
cd "$(dirname "$0")/.."
cold=0
first_start=0
app=""
runs=15
while [[ $# -gt 0 ]]; do
    case "$1" in
        --cold) cold=1 ;;
        --first-start) first_start=1 ;;
        --app) app=$(cd "$2" && pwd); shift ;;
        *) runs=$1 ;;
    esac
    shift
done
if [[ -z "$app" ]]; then
    scripts/install-packages.sh
    cmake --build --preset release -j2 --target quoinry >/dev/null
    app="$PWD/build/release/app"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The files a start reads that another program may not have in the cache already.
cached_files() {
    local plugins
    plugins=$(find /usr/lib/*/qt6/plugins -name '*.so' 2>/dev/null || true)
    {
        echo "$app/quoinry"
        echo "$app/libquoinry_qt.so"
        find "$app/pic" -type f
        # shellcheck disable=SC2086
        ldd "$app/libquoinry_qt.so" $plugins 2>/dev/null | awk '$3 ~ /^\// { print $3 }'
        echo "$plugins"
        find /usr/share/qt6/translations -name 'qt*_zh_CN.qm' 2>/dev/null
        find /usr/share/fonts /var/cache/fontconfig -type f 2>/dev/null
    } | sort -u
}
if [[ $cold == 1 ]]; then
    cached_files >"$work/files"
fi

# A program directory (and with --first-start a home) of its own for run $1.
prepare() {
    local home="$work/run$1"
    if [[ $first_start == 0 && -d "$work/run0" ]]; then
        echo "$work/run0"
        return
    fi
    mkdir -p "$home/program/mdb" "$home/program/temp" "$home/user"
    cp -r "$app/pic" "$app/image" "$app/help" "$home/program/"
    echo "$home"
}

run_once() {
    local home
    home=$(prepare "$1")
    if [[ $cold == 1 ]]; then
        while read -r file; do
            dd if="$file" iflag=nocache count=0 status=none 2>/dev/null || true
        done <"$work/files"
    fi
    local environment=(QUOINRY_HOME="$home/program" QUOINRY_EXIT_AFTER_FIRST_PAINT=1)
    if [[ $first_start == 1 ]]; then
        environment+=(HOME="$home/user" XDG_CONFIG_HOME="$home/user/.config"
                      XDG_DATA_HOME="$home/user/.local/share" XDG_CACHE_HOME="$home/user/.cache")
    fi
    # Wall-clock and processor time (user + system), in ms.
    local TIMEFORMAT='%3R %3U %3S'
    { time env "${environment[@]}" "$app/quoinry" 2>/dev/null; } 2>&1 |
        awk '{ printf "%d %d\n", $1 * 1000, ($2 + $3) * 1000 }'
}

mode="warm"
[[ $cold == 1 ]] && mode="cold"
[[ $first_start == 1 ]] && mode="$mode, first start"
# The runs go into a script of their own: xvfb-run's shell passes no bash functions on.
{
    declare -p app work cold first_start runs
    declare -f prepare run_once
    echo '[[ $cold == 1 ]] || run_once 0 >/dev/null'
    echo 'for run in $(seq "$runs"); do run_once "$run"; done'
} >"$work/runs.sh"
xvfb-run -a -s "-screen 0 1400x1000x24" bash "$work/runs.sh" >"$work/times"
# The processor time says more than the wall clock on a machine busy with other work.
median() { sort -n | awk '{v[NR] = $1} END {printf "min %d ms, median %d ms, max %d ms", v[1], v[int((NR + 1) / 2)], v[NR]}'; }
echo "start to first paint ($mode), $(wc -l <"$work/times") runs:" \
    "$(cut -d' ' -f1 "$work/times" | median); processor time $(cut -d' ' -f2 "$work/times" | median)"
