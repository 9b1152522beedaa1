#!/usr/bin/env bash
# The end-to-end session under valgrind: start, a few clicks, quit. Fails when valgrind finds an
# invalid read or write, or memory definitely lost, whose innermost frame is in the program's
# own code. (Mesa, FLTK, fontconfig and the dynamic loader keep allocations and make reads of
# their own that are not ours to fix; those are listed but do not fail the run.)
# Usage: valgrind.sh path/to/tablewise
set -euo pipefail

program=$(realpath "$1")
here=$(dirname "$(realpath "$0")")
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

# Mesa's softpipe needs no JIT compiler, which keeps the run to a few minutes under valgrind.
export GALLIUM_DRIVER=softpipe
export TABLEWISE_WRAPPER="valgrind --leak-check=full --num-callers=30 --log-file=$logs/valgrind.%p.log"
export TABLEWISE_SLOWDOWN=5
export E2E_SHORT=1
# A program under valgrind has been seen, rarely, never to map its first window; that is the
# harness stalling, not a finding, so such a run is tried once more from scratch.
if ! "$here/e2e.sh" "$program"; then
    echo "the session did not complete; running it once more"
    rm -f "$logs"/valgrind.*.log
    "$here/e2e.sh" "$program"
fi

status=0
for log in "$logs"/valgrind.*.log; do
    # Each error or loss record starts with a headline; its first frame line ("at" or, for
    # an allocation, the first "by" after the allocator) tells whose code it is.
    report=$(awk -v program="$program" '
        /Invalid (read|write)|definitely lost in loss record/ { headline = $0; want = 1; next }
        want && /^==[0-9]+==    (at|by) / {
            if ($0 ~ /vgpreload_memcheck|valgrind\//) next   # the allocator itself
            if (index($0, program) > 0) print headline "\n" $0
            want = 0
        }
        /^==[0-9]+== $/ { want = 0 }
    ' "$log")
    grep -E "ERROR SUMMARY|definitely lost:|indirectly lost:" "$log" | sed "s|^|$(basename "$log"): |"
    if [[ -n "$report" ]]; then
        echo "in the program's own code:"
        echo "$report"
        status=1
    fi
done
[[ $status -eq 0 ]] && echo "PASS: no invalid access and no definite leak in the program's own code"
exit $status
