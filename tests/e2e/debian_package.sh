#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package that cpack makes: its files, and dependencies that name the Debian
# runtime packages of the libraries the programs link and of the window's font.
# Usage: debian_package.sh BUILD_DIR [CPACK]   (exit 77, skipped, without dpkg-deb)
set -euo pipefail
build=$1 cpack=${2:-cpack}
command -v dpkg-deb >/dev/null || { echo "dpkg-deb is not installed: skipped"; exit 77; }
out="$build/package-check"
rm -rf "$out"
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

(cd "$build" && "$cpack" -G DEB -B "$out") >"$build/package-check.log" 2>&1 ||
    { cat "$build/package-check.log" >&2; fail "cpack failed"; }
deb=$(ls "$out"/*.deb)
dpkg-deb -I "$deb"

fields=$(dpkg-deb -f "$deb" Package Maintainer Description)
for field in Package Maintainer Description; do
    grep -q "^$field: ." <<<"$fields" || fail "the package has no $field"
done
depends=$(dpkg-deb -f "$deb" Depends)
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libjpeg62-turbo \
    fonts-liberation2; do
    grep -qxF "$package" <<<"$names" || fail "Depends lacks $package: $depends"
done

contents=$(dpkg-deb -c "$deb" | awk '{ print $NF }')
for file in ./usr/bin/corvane-dive-analyzer ./usr/bin/dive-tables \
    ./usr/share/man/man1/dive-tables.1.gz \
    ./usr/share/corvane-dive-analyzer/sample-results/{M3M,W3M,M10M,W10M}; do
    grep -qx "$file" <<<"$contents" || fail "the package lacks $file"
done
echo "PASS"
