#!/usr/bin/env bash
# Fails when a file of the core (cards/, odds/, the roster, the state block) includes a toolkit,
# OpenGL or font header.
set -euo pipefail
root=${1:-.}
cd "$root"
hits=$(grep -n -E '#include *<(FL|GL|EGL|X11|ft2build|freetype|fontconfig)' \
    cards/* odds/* opponents/roster.* app/state.* 2>/dev/null || true)
if [[ -n "$hits" ]]; then
    echo "core files include toolkit headers:"
    echo "$hits"
    exit 1
fi
echo "core is free of toolkit headers"
