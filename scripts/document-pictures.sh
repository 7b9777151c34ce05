#!/usr/bin/env bash
# Pictures of the calculation document for the README: the PDF of the example design
# guangzhou-c1-3-sliding and of a project document of all three examples, their first pages
# turned into PNG by pdftoppm (docs/document/*.png).
# Usage: scripts/document-pictures.sh   (after ./dev.sh test or a release build)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh
cmake --build --preset release -j2 --target quoinry quoinry_sample_project >/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p docs/document
QUOINRY_HOME="$scratch" build/release/app/quoinry run examples/guangzhou-c1-3-sliding.ini \
    --out "$scratch/reports" --pdf "$scratch/design.pdf" >/dev/null
QT_QPA_PLATFORM=offscreen build/release/src/quoinry_sample_project examples "$scratch"
pdftoppm -r 60 -png -f 1 -l 5 "$scratch/design.pdf" docs/document/design
pdftoppm -r 60 -png -f 1 -l 4 "$scratch/sample-project.pdf" docs/document/project
ls docs/document
