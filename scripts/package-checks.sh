#!/usr/bin/env bash
# The Debian package, checked as a user meets it (too slow for every test run):
#   - cpack -G DEB builds build/release/package/quoinry_VERSION-1_ARCH.deb, its dependencies
#     found by dpkg-shlibdeps;
#   - lintian finds no errors in it;
#   - unpacked into a scratch root, the program runs from there with a fresh HOME;
#   - with --install (as root): dpkg installs it, an ordinary user runs the sample design and
#     starts the windows from the menu entry's command under Xvfb, and dpkg removes it again.
# Usage: scripts/package-checks.sh [--install]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-packages.sh
scripts/install-packages.sh scripts/package-check-packages.txt
cmake --preset release >/dev/null
cmake --build --preset release -j2 >/dev/null
rm -rf build/release/package
(cd build/release && cpack -G DEB >/dev/null)
deb=$(ls build/release/package/quoinry_*.deb)
echo "package: $deb ($(du -h "$deb" | cut -f1))"
echo "depends: $(dpkg-deb -f "$deb" Depends)"

scratch=$(mktemp -d)
chmod 755 "$scratch"
trap 'rm -rf "$scratch"' EXIT
fail() {
    echo "FAILED: $*" >&2
    exit 1
}

for needed in fonts-arphic-uming libqt6sql6-sqlite libqt6printsupport6 libqt6widgets6 libzip4; do
    dpkg-deb -f "$deb" Depends | grep -q "$needed" || fail "Depends lacks $needed"
done

# lintian warns about running as root; its findings are what counts.
lintian --fail-on error "$deb" 2>&1 | grep -v 'running with root privileges' || true
lintian --fail-on error "$deb" >/dev/null 2>&1 || fail "lintian found errors"
echo "lintian: no errors"

# As a user starts it: only PATH and HOME.
run_as() {
    local user=$1 home=$2
    shift 2
    if [[ "$user" == "$(id -un)" ]]; then
        env -i PATH=/usr/bin:/bin HOME="$home" "$@"
    else
        runuser -u "$user" -- env -i PATH=/usr/bin:/bin HOME="$home" "$@"
    fi
}

check_program() {
    local program=$1 examples=$2 user=$3 home=$4
    mkdir -p "$home"
    [[ "$user" == "$(id -un)" ]] || chown "$user" "$home"
    run_as "$user" "$home" "$program" --version | grep -Eq '^quoinry 2\.0\.[0-9]+$' ||
        fail "$program --version"
    run_as "$user" "$home" "$program" run "$examples/guangzhou-c1-3-sliding.ini" \
        --pdf "$home/计算书.pdf" >/dev/null || fail "$program run"
    pdffonts "$home/计算书.pdf" | grep -q UMing || fail "no font in the PDF of $program"
    run_as "$user" "$home" "$program" stations 广东 | grep -q '^广州市' || fail "$program stations"
    [[ -f "$home/.local/share/quoinry/mdb/jscs.db" ]] || fail "no database in $home"
    echo "$program works for $user with a fresh HOME"
}

dpkg-deb -x "$deb" "$scratch/root"
check_program "$scratch/root/usr/bin/quoinry" "$scratch/root/usr/share/doc/quoinry/examples" \
    "$(id -un)" "$scratch/home"

if [[ "${1:-}" == "--install" ]]; then
    [[ $(id -u) -eq 0 ]] || fail "--install needs root"
    dpkg -s quoinry >/dev/null 2>&1 && fail "quoinry is installed already; remove it first"
    trap 'dpkg --purge quoinry >/dev/null 2>&1 || true; rm -rf "$scratch"' EXIT
    apt-get install -y -qq "./$deb" >/dev/null
    check_program /usr/bin/quoinry /usr/share/doc/quoinry/examples nobody "$scratch/engineer"
    # The menu entry's command, until the main window has painted itself.
    command=$(sed -n 's/^Exec=//p' /usr/share/applications/io.github.quoinry.Quoinry.desktop)
    # xvfb-run sets DISPLAY for the command it runs; -ac lets the other user connect.
    xvfb-run -a -s "-screen 0 1280x900x24 -ac" bash -c \
        'runuser -u nobody -- env -i PATH=/usr/bin:/bin HOME="$0" DISPLAY="$DISPLAY" \
             QUOINRY_EXIT_AFTER_FIRST_PAINT=1 '"$command" "$scratch/engineer" ||
        fail "the menu entry's command did not start the windows"
    echo "the menu entry starts the windows"
    dpkg --purge quoinry >/dev/null
    [[ ! -e /usr/bin/quoinry ]] || fail "quoinry is still there after dpkg --purge"
    echo "installed, used and removed with dpkg"
fi
