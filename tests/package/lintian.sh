#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# lintian on the Debian package that the test debian_package made: no error and no warning.
# Tags of lower severity are shown but pass; overrides live, each with its reason, in
# desktop/debian/lintian-overrides.
# Usage: lintian.sh BUILD_DIR   (exit 77, skipped, without lintian)
set -euo pipefail
build=$1
command -v lintian >/dev/null || { echo "lintian is not installed: skipped"; exit 77; }
deb=$(ls "$build"/package-check/*.deb)
# lintian refuses to run as root unless told that it may.
lintian --allow-root --display-info --fail-on error,warning "$deb" ||
    { echo "FAIL: lintian reports the errors or warnings above" >&2; exit 1; }
echo "PASS"
