#!/usr/bin/env bash
# run_script_test.sh SOURCE_DIR - scripts/run refuses at once, before it
# builds anything, a file that the editor could not open: a folder, a
# missing file, a name that code page 932 cannot write, a name with a
# backslash. Each case runs from a folder of its own with a relative name,
# as a user types it, and must end with status 2, one line on standard
# error that says what is wrong, and nothing on standard output (the build
# prints there).
set -uo pipefail
run=$1/scripts/run
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir folder
for name in 한국.bin euro€.bin "$(printf 'latin1-\xe9.bin')" 'back\slash.bin'; do
    printf 'x' >"$name"
done

failures=0
passes=0
# NAME|what standard error must hold
while IFS='|' read -r name expected; do
    name=$(printf "$name")
    "$run" "$name" >"$work/out" 2>"$work/err"
    status=$?
    if [ "$status" -eq 2 ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" -eq 1 ] &&
        grep -qF -- "$expected" "$work/err"; then
        passes=$((passes + 1))
    else
        failures=$((failures + 1))
        echo "FAIL: scripts/run '$name': status $status, expected 2 and \"$expected\""
        echo "  stdout: $(head -c 300 "$work/out")"
        echo "  stderr: $(head -c 300 "$work/err")"
    fi
done <<'CASES'
folder|folder is a folder
missing.bin|no such file: missing.bin
한국.bin|code page 932 cannot write the name
euro€.bin|code page 932 cannot write the name
latin1-\xe9.bin|code page 932 cannot write the name
back\\slash.bin|holds a backslash
CASES
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
