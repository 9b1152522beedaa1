#!/usr/bin/env bash
# The program's command line and its start without a display, all without an X server: --help
# and --version answer on stdout with 0, anything else is reported on stderr with the usage
# and 64, and no usable display gives one line and 1.
# Usage: test_cli.sh path/to/tablewise <project version>
set -euo pipefail

program=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
usage='Usage: tablewise [--help | --version]'
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# expect CODE STDOUT STDERR DISPLAY ARGS...: the program's exit code and its output on each
# stream (DISPLAY "unset" runs it without one).
expect() {
    local code=0 expected=$1 want_out=$2 want_err=$3 envs=(-u DISPLAY)
    [[ $4 == unset ]] || envs=(DISPLAY="$4")
    shift 4
    env "${envs[@]}" timeout 30 "$program" "$@" >"$work/out" 2>"$work/err" || code=$?
    [[ $code -eq $expected ]] || fail "tablewise $*: exit code $code, expected $expected"
    check_stream out "$want_out" "$*"
    check_stream err "$want_err" "$*"
}

# check_stream out|err EXPECTED ARGS: the whole stream, or with EXPECTED ending in "usage", its
# first line (if any) and the usage after it.
check_stream() {
    local got want=$2
    got=$(cat "$work/$1")
    if [[ $want == *usage ]]; then
        want=${want%usage}
        [[ -n $want ]] && want+=$'\n'
        want+=$usage
        [[ $got == "$want"* ]] || fail "tablewise $3: std$1 '$got', expected '$want...'"
        [[ $1 == err ]] || grep -q 'tablewise(6)' <<<"$got" ||
            fail "tablewise $3: the usage does not name the manual"
    else
        [[ $got == "$want" ]] || fail "tablewise $3: std$1 '$got', expected '$want'"
    fi
}

expect 0 usage "" unset --help
expect 0 usage "" unset -h --bogus
expect 0 "tablewise $version" "" unset --version
expect 0 "tablewise $version" "" unset --version --help
expect 64 "" "tablewise: unknown option '--bogus'usage" unset --bogus
expect 64 "" "tablewise: unknown option '-display'usage" unset -display :0 --help
expect 64 "" "tablewise: unknown option '--version=2'usage" unset --version=2
expect 64 "" "tablewise: unexpected argument 'hand.txt'usage" unset hand.txt
expect 64 "" "tablewise: unexpected argument ''usage" unset ""
expect 1 "" "tablewise: cannot open the display: DISPLAY is not set" unset
expect 1 "" "tablewise: cannot open the display: DISPLAY is not set" ""
expect 1 "" 'tablewise: cannot open the display ":bogus"' :bogus

[[ $failures -eq 0 ]] || exit 1
echo "PASS: command line"
