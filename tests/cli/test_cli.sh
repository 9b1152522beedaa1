#!/usr/bin/env bash
# The program's command line and its start without a display, all run without an X server:
# --help and --version answer on stdout with 0, anything else is reported on stderr with the
# usage and 64, and no usable display gives one line and 1.
# Usage: test_cli.sh path/to/tablewise <project version>
set -euo pipefail

program=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# run EXPECTED_CODE args...: the program without DISPLAY (or with $display when it is set),
# its output in $work/out and $work/err.
display=unset
run() {
    local expected=$1 code=0
    shift
    local envs=(-u DISPLAY)
    [[ $display == unset ]] || envs=(DISPLAY="$display")
    env "${envs[@]}" timeout 30 "$program" "$@" >"$work/out" 2>"$work/err" || code=$?
    [[ $code -eq $expected ]] || fail "tablewise $*: exit code $code, expected $expected"
}
lines() { wc -l <"$1"; }

echo "== --help and -h: the usage on stdout, nothing on stderr"
for option in --help -h "--help --bogus" "--version --help"; do
    # shellcheck disable=SC2086
    run 0 $option
    if [[ $option == --version* ]]; then
        [[ $(cat "$work/out") == "tablewise $version" ]] || fail "$option: not the version first"
        continue
    fi
    head -n1 "$work/out" | grep -qx 'Usage: tablewise \[--help | --version\]' ||
        fail "$option: no usage line"
    grep -q -- '--version' "$work/out" || fail "$option: the usage does not name --version"
    grep -q 'tablewise(6)' "$work/out" || fail "$option: the usage does not name the manual"
    [[ ! -s "$work/err" ]] || fail "$option: wrote to stderr"
done

echo "== --version: the project's version"
run 0 --version
[[ $(cat "$work/out") == "tablewise $version" ]] ||
    fail "--version printed '$(cat "$work/out")', expected 'tablewise $version'"
[[ ! -s "$work/err" ]] || fail "--version wrote to stderr"

echo "== unknown options and arguments: one line, the usage, 64"
check_usage_error() {
    local expected_line=$1
    shift
    run 64 "$@"
    [[ ! -s "$work/out" ]] || fail "$*: wrote to stdout"
    [[ $(head -n1 "$work/err") == "$expected_line" ]] ||
        fail "$*: first line '$(head -n1 "$work/err")', expected '$expected_line'"
    sed -n 2p "$work/err" | grep -qx 'Usage: tablewise \[--help | --version\]' ||
        fail "$*: the usage does not follow the error"
}
check_usage_error "tablewise: unknown option '--bogus'" --bogus
check_usage_error "tablewise: unknown option '-display'" -display :0 --help
check_usage_error "tablewise: unknown option '--version=2'" --version=2
check_usage_error "tablewise: unexpected argument 'hand.txt'" hand.txt
check_usage_error "tablewise: unexpected argument ''" ""

echo "== no usable display: one line, 1"
run 1
[[ $(lines "$work/err") -eq 1 ]] || fail "DISPLAY unset: not one line on stderr"
[[ $(cat "$work/err") == "tablewise: cannot open the display: DISPLAY is not set" ]] ||
    fail "DISPLAY unset: '$(cat "$work/err")'"
for display in :bogus ""; do
    run 1
    [[ $(lines "$work/err") -eq 1 ]] || fail "DISPLAY=$display: not one line on stderr"
    if [[ -n "$display" ]]; then
        expected="tablewise: cannot open the display \"$display\""
    else
        expected="tablewise: cannot open the display: DISPLAY is not set"
    fi
    [[ $(cat "$work/err") == "$expected" ]] ||
        fail "DISPLAY=$display: '$(cat "$work/err")', expected '$expected'"
    [[ ! -s "$work/out" ]] || fail "DISPLAY=$display: wrote to stdout"
done

[[ $failures -eq 0 ]] || exit 1
echo "PASS: command line"
