#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package that cpack makes: its control fields, dependencies that name the Debian
# runtime packages of the libraries the programs link and of the window's font, and its files
# with their modes, unpacked into a scratch root. The package stays in BUILD_DIR/package-check
# for the lintian test.
# Usage: debian_package.sh BUILD_DIR CPACK DEBIAN_VERSION   (exit 77, skipped, without dpkg-deb)
set -euo pipefail
build=$1 cpack=$2 version=$3
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
for expected in "Version=$version" Section=science Priority=optional; do
    actual=$(dpkg-deb -f "$deb" "${expected%%=*}")
    [ "$actual" = "${expected#*=}" ] || fail "${expected%%=*} is '$actual', not '${expected#*=}'"
done
depends=$(dpkg-deb -f "$deb" Depends)
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6charts6 libqt6svg6 \
    libjpeg62-turbo libicu72 fonts-liberation2; do
    grep -qxF "$package" <<<"$names" || fail "Depends lacks $package: $depends"
done

# Every file and folder belongs to root; nothing lies outside /usr.
dpkg-deb -c "$deb" | awk '$2 != "root/root" { print; bad = 1 } END { exit bad }' ||
    fail "entries not owned by root/root (above)"
dpkg-deb -c "$deb" | awk '{ print $NF }' | grep -vE '^\./(usr/.*)?$' &&
    fail "files outside /usr (above)"

root="$out/root"
dpkg -x "$deb" "$root"
# Fails unless every FILE exists in the scratch root as a regular file with MODE.
expect_files() {
    local mode=$1 file
    shift
    for file in "$@"; do
        [ -f "$root/$file" ] || fail "the package lacks /$file"
        [ "$(stat -c %a "$root/$file")" = "$mode" ] ||
            fail "/$file has mode $(stat -c %a "$root/$file"), not $mode"
    done
}
id=io.github.corvane.DiveAnalyzer
share=usr/share
expect_files 755 usr/bin/corvane-dive-analyzer usr/bin/dive-tables usr/bin/dive-import
expect_files 644 $share/corvane-dive-analyzer/sample-results/{M3M,W3M,M10M,W10M} \
    $share/man/man1/{corvane-dive-analyzer,dive-tables,dive-import}.1.gz \
    $share/doc/corvane-dive-analyzer/{copyright,changelog.Debian.gz,example-results.csv} \
    $share/applications/$id.desktop $share/metainfo/$id.metainfo.xml \
    $share/icons/hicolor/{48x48,64x64,128x128,256x256}/apps/$id.png \
    $share/icons/hicolor/scalable/apps/$id.svg
# The metainfo finds its menu entry and icon where the package puts them.
if command -v appstreamcli >/dev/null; then
    appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree (above)"
fi
odd_dirs=$(find "$root" -type d ! -perm 755)
[ -z "$odd_dirs" ] || fail "folders whose mode is not 755: $odd_dirs"
for file in "$root"/usr/share/man/man1/*.gz "$root"/usr/share/doc/*/changelog.Debian.gz; do
    gzip -t "$file" || fail "$file is not gzip-compressed"
done
echo "PASS"
