#!/usr/bin/env bash
# A failed case must make the test scripts fail, naming the case: the closing
# step every shell test ends with (finish, in check.sh), and the step script/test
# ends with (run_tests, in script/lib.sh), run on the build tree given here:
# nothing is installed or built.
#   selfcheck.sh BUILD-DIR
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$1
bad=0
expect() { # expect NAME WANTED-STATUS ACTUAL-STATUS (0, or "non-zero")
    if [ "$2" = "$3" ]; then echo "ok   $1"; else echo "FAIL $1: exit status $3, wanted $2"; bad=1; fi
}
status_of() { "$@" >"$log" 2>&1 && echo 0 || echo non-zero; }
log=$(mktemp)
trap 'rm -f "$log"' EXIT

expect "finish after a failed check" non-zero \
    "$(status_of bash -c "source '$here/check.sh'; check planted 1 2; check fine 1 1; finish planted")"
expect "finish after passing checks" 0 \
    "$(status_of bash -c "source '$here/check.sh'; check fine 1 1; finish fine")"
expect "script/test's test step with a failing case" non-zero \
    "$(VELMAR_PLANT_FAILURE=1 status_of bash -c "source '$root/script/lib.sh'; run_tests '$build' -R '^planted_case\$'")"
grep -q 'planted_case (Failed)' "$log" || { echo "FAIL script/test does not name the failed case"; cat "$log"; bad=1; }
expect "script/test's test step with passing cases" 0 \
    "$(status_of bash -c "source '$root/script/lib.sh'; run_tests '$build' -R '^planted_case\$'")"
exit "$bad"
