#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages that building, running and testing need, when missing.
# Usage: scripts/deps.sh build|run|test
set -euo pipefail

# libicu-dev: dive-import reduces names to plain ASCII with ICU's transliteration; it reads
# results books (PDF) with poppler's C++ library, libpoppler-cpp-dev, and XLSX and ODS
# workbooks with liborcus-dev (both found with pkg-config). Qt Charts
# draws the score-band chart (its CMake files need the Qt OpenGL ones, which Debian does not
# pull in); Qt SVG saves it as a picture.
build_pkgs=(g++ cmake ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev libjpeg-dev
            libicu-dev fonts-liberation2 qt6-charts-dev libqt6opengl6-dev qt6-svg-dev
            libpoppler-cpp-dev liborcus-dev pkg-config)
# The re-entry tests queue input through Qt's window-system interface (private headers); the
# fuzz build needs clang with its sanitizer and libFuzzer runtimes, and llvm-symbolizer for
# readable reports; dpkg-dev lets the package test compute exact dependencies; the menu entry,
# the AppStream metainfo and the package are checked with desktop-file-utils, appstream and
# lintian, and librsvg2-bin renders the icon for the check that its pictures are up to date.
# The test results books (PDF) are written with cairo.
test_pkgs=(googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool xclip
           imagemagick x11-utils qt6-base-private-dev clang libclang-rt-14-dev llvm dpkg-dev
           clang-format git desktop-file-utils appstream lintian librsvg2-bin libcairo2-dev)

case "${1:-build}" in
    build | run) wanted=("${build_pkgs[@]}" libgtest-dev libbenchmark-dev) ;;
    test) wanted=("${build_pkgs[@]}" "${test_pkgs[@]}") ;;
    *) echo "usage: $0 build|run|test" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
    echo "These Debian packages are missing. Install them with:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi
