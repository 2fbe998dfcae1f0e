#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a file includes from a folder of a higher or the same rank but its own, when the
# importer reaches past what it may use, or when the toolkit-free folders include Qt. Every
# folder has its own rank, lowest first: store, rawdata, analysis, ui, cli, import, app.
# cli/ includes no other folder of the project; import/ may include only store/, rawdata/ and
# cli/; ui/ never reaches cli/, import/ or app/.
# Usage: check_include_layers.sh SOURCE_ROOT
set -euo pipefail
root=${1:?usage: check_include_layers.sh SOURCE_ROOT}

declare -A rank=([store]=0 [rawdata]=1 [analysis]=2 [ui]=3 [cli]=4 [import]=5 [app]=6)
# The folders a folder may include besides its own, where that is fewer than all below it.
declare -A only=([cli]="" [import]="store rawdata cli")
# The folders that build without Qt.
toolkit_free=" store rawdata analysis cli import "

# Why `layer` may not include from `target`, or nothing when it may.
refusal() {
    local layer=$1 target=$2
    [ "$target" = "$layer" ] && return
    if [ "${rank[$target]}" -ge "${rank[$layer]}" ]; then
        echo "a folder of the same or a higher rank"
    elif [ -n "${only[$layer]+set}" ] && [[ " ${only[$layer]} " != *" $target "* ]]; then
        echo "a folder it may not use (only: ${only[$layer]:-none})"
    fi
}

violations=0
for layer in "${!rank[@]}"; do
    [ -d "$root/$layer" ] || continue
    while IFS=: read -r file line text; do
        target=$(sed -nE 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([a-z_]+)\/.*/\1/p' <<<"$text")
        if [ -n "$target" ] && [ -n "${rank[$target]+set}" ]; then
            why=$(refusal "$layer" "$target")
            if [ -n "$why" ]; then
                echo "${file#"$root"/}:$line: $layer/ includes from $target/, $why: $text"
                violations=$((violations + 1))
            fi
        fi
        if [[ "$toolkit_free" == *" $layer "* ]] &&
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
echo "every include follows the ranks store, rawdata, analysis, ui, cli, import, app"
