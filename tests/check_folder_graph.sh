#!/usr/bin/env bash
# The folder graph of the program's sources. A folder may include its own headers, app/state.h
# (the state block, read from everywhere) and the folders of its line below; any other quoted
# include fails (the arrows below form no cycle). The core (cards/, odds/, the roster, the state
# block) includes no toolkit, OpenGL or font header either.
set -euo pipefail
root=${1:-.}
cd "$root"

declare -A allowed=(
    [resources]=""
    [cards]=""
    [platform]="resources"
    [odds]="cards opponents resources"
    [render]="cards platform resources"
    [opponents]="cards render platform resources"
    [app]="cards odds opponents render platform resources"
    [tools]="platform resources"
)

failed=0

for folder in "${!allowed[@]}"; do
    while IFS= read -r line; do
        file=${line%%:*}
        target=$(sed -E 's/.*#include *"([^"]+)".*/\1/' <<<"$line")
        [[ $target == app/state.h ]] && continue
        [[ $target != */* ]] && continue  # a file beside the includer
        top=${target%%/*}
        [[ $top == "$folder" ]] && continue
        if [[ " ${allowed[$folder]} " != *" $top "* ]]; then
            echo "$file includes $target: $folder/ may include only: ${allowed[$folder]:-nothing outside itself}"
            failed=1
        fi
    done < <(grep -rn --include='*.h' --include='*.cpp' -E '^[[:space:]]*#[[:space:]]*include *"' "$folder" || true)
done

toolkit=$(grep -n -E '#include *<(FL|GL|EGL|X11|ft2build|freetype|fontconfig)' \
    cards/* odds/* opponents/roster.* app/state.* 2>/dev/null || true)
if [[ -n "$toolkit" ]]; then
    echo "core files include toolkit headers:"
    echo "$toolkit"
    failed=1
fi

if [[ $failed -ne 0 ]]; then
    exit 1
fi
echo "every include follows the folder graph; the core is free of toolkit headers"
