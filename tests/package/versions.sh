#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Everything that states the version agrees with the project's: each program's --version,
# the newest release of the metainfo, the newest entry of the Debian changelog and the
# installed manual pages (the package's own version is checked by debian_package).
# Usage: versions.sh VERSION DEBIAN_VERSION SOURCE_DIR BUILD_DIR PROGRAM...
set -euo pipefail
version=$1 debian_version=$2 source=$3 build=$4
shift 4
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

for program in "$@"; do
    name=$(basename "$program")
    said=$("$program" --version) || fail "$name --version failed"
    [ "$said" = "$name $version" ] || fail "$name --version says '$said', not '$name $version'"
done
release=$(grep -o '<release version="[^"]*"' -m 1 "$source"/desktop/*.metainfo.xml | cut -d'"' -f2)
[ "$release" = "$version" ] || fail "the newest release of the metainfo is '$release'"
entry=$(head -n 1 "$source/desktop/debian/changelog" | sed 's/^[^ ]* (\([^)]*\)).*/\1/')
[ "$entry" = "$debian_version" ] || fail "the newest Debian changelog entry is '$entry'"
for page in "$build"/gzipped/*.1.gz; do
    zcat "$page" | head -n 1 | grep -qF "\"Corvane Dive Analyzer $version\"" ||
        fail "$(basename "$page") names another version: $(zcat "$page" | head -n 1)"
done
echo "PASS"
