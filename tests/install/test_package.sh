#!/usr/bin/env bash
# Builds the Debian package with CPack, checks its control fields, has lintian check it
# (errors and warnings fail), installs it with apt-get, runs /usr/games/tablewise under Xvfb
# and quits it, then removes the package again. Installing needs root: without root and
# without password-less sudo the test is skipped (exit 77).
# Usage: test_package.sh <build dir>
set -euo pipefail

build=$(realpath "$1")

sudo=""
if [[ $(id -u) -ne 0 ]]; then
    if sudo -n true 2>/dev/null; then
        sudo="sudo -n"
    else
        echo "SKIP: installing a package needs root or password-less sudo"
        exit 77
    fi
fi

work=$(mktemp -d)
installed=""
cleanup_extra() {
    if [[ -n "$installed" ]]; then
        $sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq \
            -o DPkg::Lock::Timeout=300 tablewise >/dev/null
    fi
}
source "$(dirname "$(realpath "$0")")/../xvfb_session.sh"

echo "== building the package"
cpack --config "$build/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack failed"; }
debs=("$work"/package/tablewise_*.deb)
[[ ${#debs[@]} -eq 1 && -f "${debs[0]}" ]] || fail "cpack made no single tablewise_*.deb"
deb=${debs[0]}

echo "== control fields"
[[ $(dpkg-deb -f "$deb" Package) == tablewise ]] || fail "the package is not named tablewise"
[[ $(dpkg-deb -f "$deb" Section) == games ]] || fail "the section is not games"
[[ -n $(dpkg-deb -f "$deb" Maintainer) ]] || fail "no maintainer"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Package names, one a line, without versions or alternatives' separators.
names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/(.*)//; s/ //g')
for needed in libfltk1.3 libfltk-gl1.3 libgl1 libglu1-mesa libfreetype6 libfontconfig1 \
              libx11-6 fonts-liberation2; do
    grep -qx "$needed" <<<"$names" || fail "Depends does not name $needed"
done
[[ -z $(dpkg-deb -f "$deb" Homepage) ]] || fail "the package names a homepage"

echo "== lintian"
lintian --fail-on error,warning --display-info "$deb" >"$work/lintian.log" 2>&1 ||
    { cat "$work/lintian.log" >&2; fail "lintian finds errors or warnings"; }
sed 's/^/lintian: /' "$work/lintian.log"

echo "== installing it"
installed=yes
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=300 \
    "$deb" >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get install failed"; }
[[ $(dpkg-query -W -f='${Status}' tablewise) == "install ok installed" ]] ||
    fail "dpkg does not list tablewise as installed"
[[ -x /usr/games/tablewise ]] || fail "no /usr/games/tablewise after installing"
[[ -f /usr/share/applications/io.github.tablewise.Tablewise.desktop ]] ||
    fail "no desktop entry in /usr/share/applications"

echo "== the installed program starts and quits"
start_x
start_program /usr/games/tablewise
click "$(wait_window "Precalculating Data")" 65 106 # "Quick Calculation"
quit_with_yes "$(wait_window "Tablewise Application" 120)"

echo "== removing it"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq -o DPkg::Lock::Timeout=300 \
    tablewise >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get remove failed"; }
installed=""
[[ ! -e /usr/games/tablewise ]] || fail "/usr/games/tablewise is still there after removal"

echo "PASS: package"
