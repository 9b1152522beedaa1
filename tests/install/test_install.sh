#!/usr/bin/env bash
# Installs a build into a scratch prefix with `cmake --install` and checks what a desktop
# expects there: the program (in games/, as the package's section has it), a valid desktop
# entry whose Exec and Icon resolve inside the prefix, a hicolor icon of every size, valid
# AppStream metainfo that launches that desktop entry, the manual page (compressed, rendered
# without a warning), and the documents. (The package test runs the installed program.)
# Usage: test_install.sh <build dir>
set -euo pipefail

build=$(realpath "$1")
work=$(mktemp -d)
source "$(dirname "$(realpath "$0")")/../xvfb_session.sh"

app_id=io.github.tablewise.Tablewise
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install failed"

echo "== the program"
program=$prefix/games/tablewise
[[ -f "$program" && -x "$program" ]] || fail "no executable $program"
[[ $(head -c4 "$program" | od -An -c | tr -d ' ') == '177ELF' ]] || fail "$program is not ELF"

echo "== the desktop entry"
desktop=$prefix/share/applications/$app_id.desktop
[[ -f "$desktop" ]] || fail "no $desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
field() { sed -n "s/^$1=//p" "$2"; }
[[ $(field Name "$desktop") == Tablewise ]] || fail "Name is not Tablewise"
[[ -n $(field Comment "$desktop") ]] || fail "no Comment"
[[ $(field Terminal "$desktop") == false ]] || fail "Terminal is not false"
[[ $(field StartupWMClass "$desktop") == tablewise ]] || fail "StartupWMClass is not tablewise"
[[ $(field Categories "$desktop") == *"Game;CardGame;"* ]] || fail "not in Game;CardGame;"
exec_name=$(field Exec "$desktop")
[[ -x "$prefix/games/${exec_name%% *}" ]] || fail "Exec=$exec_name is not an installed program"
icon_name=$(field Icon "$desktop")

echo "== the icons"
for size in 16 22 24 32 48 64 128 256; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$icon_name.png
    [[ -f "$icon" ]] || fail "no icon $icon"
    got=$(identify -format '%m %wx%h' "$icon")
    [[ "$got" == "PNG ${size}x${size}" ]] || fail "$icon is $got, expected PNG ${size}x${size}"
done

echo "== the metainfo"
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
[[ -f "$metainfo" ]] || fail "no $metainfo"
appstreamcli validate --no-net --pedantic "$metainfo" || fail "appstreamcli rejects $metainfo"
grep -q "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $app_id.desktop"

grep -q '<url\|<screenshot' "$metainfo" && fail "the metainfo names a web address"

echo "== the manual page"
page=$prefix/share/man/man6/tablewise.6.gz
[[ -f "$page" ]] || fail "no $page"
gzip -dc "$page" >"$work/tablewise.6"
warnings=$(groff -man -ww -z "$work/tablewise.6" 2>&1) || fail "groff fails on the manual page"
[[ -z "$warnings" ]] || fail "groff warns about the manual page: $warnings"
warnings=$(MANWIDTH=80 man -l "$page" 2>&1 >"$work/page.txt") || fail "man -l fails"
[[ -z "$warnings" ]] || fail "man -l warns: $warnings"
version=$("$program" --version)
grep -q "Tablewise ${version#tablewise }" "$work/page.txt" || fail "the page is not of $version"
for heading in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" ENVIRONMENT FILES; do
    grep -qx "$heading" "$work/page.txt" || fail "the page has no section $heading"
done

echo "== the documents"
doc=$prefix/share/doc/tablewise
[[ -s "$doc/README.md" ]] || fail "no README in $doc"
grep -q "MIT License" "$doc/LICENSE" || fail "no MIT licence in $doc"
grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' \
    "$doc/copyright" || fail "no machine-readable copyright file in $doc"
gzip -dc "$doc/changelog.gz" | head -n1 | grep -q "^tablewise (${version#tablewise }) " ||
    fail "changelog.gz does not begin with $version"

echo "PASS: install"
