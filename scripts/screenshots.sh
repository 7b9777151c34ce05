#!/usr/bin/env bash
# Pictures of every window for the README: starts the windows under Xvfb in a program directory
# of their own (with the sample profiles) and saves docs/screenshots/*.png.
# Usage: scripts/screenshots.sh   (after ./dev.sh test or a release build)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh
cmake --build --preset release -j2 --target quoinry quoinry_screenshots >/dev/null
app=build/release/app
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
mkdir -p "$home/mdb" "$home/temp" docs/screenshots
cp -r "$app/pic" "$app/image" "$app/help" "$home/"
QUOINRY_HOME="$home" xvfb-run -a -s "-screen 0 1400x1000x24" \
    build/release/src/shell/quoinry_screenshots "$PWD" docs/screenshots
ls docs/screenshots
