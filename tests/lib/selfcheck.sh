#!/usr/bin/env bash
# A failed case must make the test scripts fail, naming the case: the closing
# step every shell test ends with (finish, in check.sh), and script/test itself.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
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
expect "script/test with a failing case" non-zero \
    "$(VELMAR_PLANT_FAILURE=1 status_of "$root/script/test" -R '^planted_case$')"
grep -q 'planted_case (Failed)' "$log" || { echo "FAIL script/test does not name the failed case"; cat "$log"; bad=1; }
exit "$bad"
