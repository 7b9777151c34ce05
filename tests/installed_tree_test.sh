#!/usr/bin/env bash
# The program installed by `cmake --install` into a scratch prefix and run from there as an
# engineer would: a fresh HOME, nothing else set up. It must find its module and its files
# relative to the executable, write only to the XDG folders, and its desktop entry and AppStream
# file must pass Debian's validators.
# Usage: tests/installed_tree_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
source=$2
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
prefix="$scratch/usr"
home="$scratch/home"
mkdir -p "$home"

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

cmake --install "$build" --prefix "$prefix" >/dev/null
before=$(cd "$prefix" && find . | sort)

for file in bin/quoinry lib/quoinry/libquoinry_qt.so lib/quoinry/libquoinry_files.so share/quoinry/pic/1.jpg \
    share/quoinry/help/index.html share/applications/io.github.quoinry.Quoinry.desktop \
    share/metainfo/io.github.quoinry.Quoinry.metainfo.xml share/man/man1/quoinry.1.gz \
    share/icons/hicolor/48x48/apps/quoinry.png share/icons/hicolor/256x256/apps/quoinry.png \
    share/doc/quoinry/copyright share/doc/quoinry/examples/guangzhou-c1-3-sliding.ini; do
    [[ -f "$prefix/$file" ]] || fail "$file is not installed"
done

# As a user starts it: only PATH and HOME, from another folder.
quoinry() {
    (cd "$scratch" && env -i PATH=/usr/bin:/bin HOME="$home" "$prefix/bin/quoinry" "$@")
}

version=$(quoinry --version)
[[ "$version" =~ ^quoinry\ 2\.0\.[0-9]+$ ]] || fail "--version printed '$version'"

quoinry run "$prefix/share/doc/quoinry/examples/guangzhou-c1-3-sliding.ini" \
    --pdf "$scratch/计算书.pdf" --docx "$scratch/计算书.docx" >"$scratch/out" 2>"$scratch/err" ||
    fail "run: $(cat "$scratch/err")"
[[ ! -s "$scratch/err" ]] || fail "run wrote to standard error: $(cat "$scratch/err")"
grep -q '^风荷载的标准值:' "$scratch/out" || fail "run printed no result lines"
for report in wind.txt glass.txt gj.txt; do
    [[ -s "$home/.local/share/quoinry/temp/$report" ]] || fail "no $report in the XDG data folder"
done
head -c 5 "$scratch/计算书.pdf" | grep -q '%PDF-' || fail "no PDF written"
pdffonts "$scratch/计算书.pdf" | grep -q 'UMing' || fail "the PDF has not embedded AR PL UMing"

quoinry stations >"$scratch/regions" || fail "stations failed"
grep -qx '广东' "$scratch/regions" || fail "stations does not list 广东"
[[ -f "$home/.local/share/quoinry/mdb/jscs.db" ]] || fail "the database is not in the XDG data folder"

after=$(cd "$prefix" && find . | sort)
[[ "$before" == "$after" ]] || fail "the program wrote into its installation: $(diff <(echo "$before") <(echo "$after"))"

desktop-file-validate "$prefix/share/applications/io.github.quoinry.Quoinry.desktop" ||
    fail "desktop-file-validate"
appstreamcli validate --no-net "$prefix/share/metainfo/io.github.quoinry.Quoinry.metainfo.xml" \
    >"$scratch/appstream" || fail "appstreamcli validate: $(cat "$scratch/appstream")"
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/quoinry.1.gz" 2>&1 >/dev/null)
[[ -z "$warnings" ]] || fail "man page: $warnings"
echo "installed tree works"
