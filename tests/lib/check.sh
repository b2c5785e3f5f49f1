# Sourced by the shell tests: one line a check, a closing count.
passes=0
failures=0

check() { # check NAME EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then
        passes=$((passes + 1))
    else
        failures=$((failures + 1))
        printf 'FAIL %s\n--- expected\n%s\n--- actual\n%s\n' "$1" "$2" "$3"
    fi
}

# Prints 'NAME: N passed, M failed' and fails when any check did.
finish() {
    echo "$1: $passes passed, $failures failed"
    [ "$failures" -eq 0 ]
}
