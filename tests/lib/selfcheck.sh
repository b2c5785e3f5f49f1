#!/usr/bin/env bash
# A failed case must make the test scripts fail, naming the case: the closing
# step every shell test ends with (finish, in check.sh), and the step script/test
# ends with (run_tests, in script/lib.sh), run on a test tree of its own with a
# failing and a passing case: nothing is installed or built.
#   selfcheck.sh
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
bad=0
expect() { # expect NAME WANTED-STATUS ACTUAL-STATUS (0, or "non-zero")
    if [ "$2" = "$3" ]; then echo "ok   $1"; else echo "FAIL $1: exit status $3, wanted $2"; bad=1; fi
}
status_of() { "$@" >"$log" 2>&1 && echo 0 || echo non-zero; }
log=$(mktemp)
scratch=$(mktemp -d)
trap 'rm -f "$log"; rm -rf "$scratch"' EXIT
planted=$scratch/planted
mkdir "$planted"
printf '%s\n' 'add_test(planted_case bash -c "exit 1")' 'add_test(fine_case true)' \
    >"$planted/CTestTestfile.cmake"

expect "finish after a failed check" non-zero \
    "$(status_of bash -c "source '$here/check.sh'; check planted 1 2; check fine 1 1; finish planted")"
expect "finish after passing checks" 0 \
    "$(status_of bash -c "source '$here/check.sh'; check fine 1 1; finish fine")"
run_tests_of() { status_of bash -c "source '$root/script/lib.sh'; run_tests '$planted' $*"; }
expect "script/test's test step with a failing case" non-zero "$(run_tests_of)"
grep -q 'planted_case (Failed)' "$log" || { echo "FAIL script/test does not name the failed case"; cat "$log"; bad=1; }
expect "script/test's test step with passing cases" 0 "$(run_tests_of -R "'^fine_case\$'")"
expect "script/test's test step when no test matches" non-zero "$(run_tests_of -R "'^no such test\$'")"
# A plain build (script/run's) needs no test package; asked for the tests
# without a test dependency, the configuration stops and names the package, for
# each dependency in turn.
expect "configuring the program alone without GoogleTest" 0 \
    "$(status_of cmake -S "$root" -B "$scratch/plain" -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON)"
for missing in GTest:libgtest-dev Qt6Test:qt6-base-dev Qt6GuiPrivate:qt6-base-private-dev; do
    package=${missing#*:} what=${missing%%:*}
    args=(-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON)
    [ "$what" = Qt6Test ] && args=(-DQt6Test_DIR=/nonexistent -DCMAKE_DISABLE_FIND_PACKAGE_Qt6Test=ON)
    [ "$what" = Qt6GuiPrivate ] && args=(-DVELMAR_HAVE_QT_GUI_PRIVATE=OFF)
    expect "configuring the tests without $what" non-zero \
        "$(status_of cmake -S "$root" -B "$scratch/$what" -DBUILD_TESTING=ON "${args[@]}")"
    grep -q "$package" "$log" || { echo "FAIL the message does not name $package"; cat "$log"; bad=1; }
done
exit "$bad"
