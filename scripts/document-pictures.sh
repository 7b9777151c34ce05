#!/usr/bin/env bash
# Pictures of the calculation document for the README: the PDF of the example design
# guangzhou-c1-3-sliding (its first page and the page with the section picture) and the project
# document of the example schedule by quoinry batch (cover, contents, summary, first chapter),
# turned into PNG by pdftoppm (docs/document/*.png).
# Usage: scripts/document-pictures.sh   (after ./dev.sh test or a release build)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh
cmake --build --preset release -j2 --target quoinry quoinry_qt >/dev/null
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
rm -rf docs/document
mkdir -p docs/document
QUOINRY_HOME="$scratch" build/release/app/quoinry run examples/guangzhou-c1-3-sliding.ini \
    --out "$scratch/reports" --pdf "$scratch/design.pdf" >/dev/null
QUOINRY_HOME="$scratch" QT_QPA_PLATFORM=offscreen build/release/app/quoinry batch \
    examples/building-3-schedule.xlsx --base examples/shanghai-24f-c2-casement.ini \
    --out "$scratch/batch" --pdf "$scratch/sample-project.pdf" --jobs 2 >/dev/null ||
    [ $? -eq 1 ]  # the example schedule holds two rows that are errors on purpose
page() {
    pdftoppm -r 60 -png -singlefile -f "$2" -l "$2" "$1" "docs/document/$3"
}
page "$scratch/design.pdf" 1 design-page-1
# The page whose text starts with the section-properties heading holds the picture.
picture_page=$(pdftotext -raw "$scratch/design.pdf" - |
    awk -v RS='\f' '/\(3\)\.选用型材的截面特性:/ {print NR; exit}')
page "$scratch/design.pdf" "$picture_page" design-page-picture
for n in 1 2 3 4; do
    page "$scratch/sample-project.pdf" "$n" "project-page-$n"
done
ls docs/document
