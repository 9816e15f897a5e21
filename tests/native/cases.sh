# shellcheck shell=bash
# cases.sh - sourced by the tests of the scripts: counts their cases and
# says what a failed one saw.
#   expect NAME CONDITION...  runs CONDITION: a case that passed when it
#                             succeeds; otherwise prints "FAILED: NAME" and
#                             what the test's own show_seen prints.
#   end_cases                 prints the counts; fails when a case failed.

passes=0
failures=0

expect() {
    local name=$1
    shift
    if "$@"; then
        passes=$((passes + 1))
        return 0
    fi
    failures=$((failures + 1))
    echo "FAILED: $name"
    show_seen
}

end_cases() {
    echo "$passes passed, $failures failed"
    [ "$failures" -eq 0 ]
}
