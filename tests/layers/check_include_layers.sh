#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a file of a lower layer includes from a higher one, or when the toolkit-free core
# includes Qt. The layers, lowest first: store <- rawdata <- analysis <- ui <- app; the importer
# (import/) stands beside app/ and, like it, may include from every layer below.
# Usage: check_include_layers.sh SOURCE_ROOT
set -euo pipefail
root=${1:?usage: check_include_layers.sh SOURCE_ROOT}

declare -A rank=([store]=0 [rawdata]=1 [analysis]=2 [ui]=3 [app]=4 [import]=4)
core_top=${rank[analysis]}

violations=0
for layer in "${!rank[@]}"; do
    [ -d "$root/$layer" ] || continue
    while IFS=: read -r file line text; do
        target=$(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([a-z_]+)\/.*/\1/p' <<<"$text")
        if [ -n "$target" ] && [ -n "${rank[$target]+set}" ] &&
            [ "${rank[$target]}" -gt "${rank[$layer]}" ]; then
            echo "${file#"$root"/}:$line: $layer/ includes from $target/, a higher layer: $text"
            violations=$((violations + 1))
        fi
        if [ "${rank[$layer]}" -le "$core_top" ] &&
            grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' <<<"$text"; then
            echo "${file#"$root"/}:$line: the toolkit-free $layer/ includes Qt: $text"
            violations=$((violations + 1))
        fi
    done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include' "$root/$layer" \
                 --include='*.cpp' --include='*.h' || true)
done

if [ "$violations" -gt 0 ]; then
    echo "$violations include(s) against the direction of the layers" >&2
    exit 1
fi
echo "every include follows store <- rawdata <- analysis <- ui <- app"
