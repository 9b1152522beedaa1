#!/usr/bin/env bash
# Runs a command on a private Xvfb display of its own (tests/xvfb_session.sh) and exits with its
# code: run_under_xvfb.sh COMMAND [ARGS...]
set -euo pipefail

work=$(mktemp -d)
# shellcheck source=tests/xvfb_session.sh
source "$(dirname "$(realpath "$0")")/../xvfb_session.sh"

start_x
code=0
"$@" || code=$?
exit "$code"
