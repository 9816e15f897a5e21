#!/usr/bin/env bash
# run_script_test.sh SOURCE_DIR - scripts/run refuses at once, before it
# builds anything, a file that the editor could not open: a folder, a
# missing file, a name that code page 932 cannot write or would write as
# another name, a name with a backslash. Each case runs from a folder of
# its own with a relative name, as a user types it, and must end with
# status 2, one line on standard error that says what is wrong, and nothing
# on standard output (the build prints there). Names that VUKO can open
# are given by scripts/windows-path as Wine's programs see them.
set -uo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir folder
for name in 한국.bin euro€.bin "$(printf 'latin1-\xe9.bin')" 'wave〜.bin' 'back\slash.bin' \
    見本.bin 'full～.bin' 'two words.bin' 'a:b.bin'; do
    printf 'x' >"$name"
done

failures=0
passes=0
# check SCRIPT STATUS EXPECTED_STATUS EXPECTED_STDOUT STDERR_FRAGMENT: one
# line on standard error that holds the fragment, or none when it is empty.
check() {
    local err_ok
    if [ -z "$5" ]; then
        [ ! -s "$work/err" ] && err_ok=1 || err_ok=0
    else
        [ "$(wc -l <"$work/err")" -eq 1 ] && grep -qF -- "$5" "$work/err" && err_ok=1 || err_ok=0
    fi
    if [ "$2" -eq "$3" ] && [ "$(cat "$work/out")" = "$4" ] && [ "$err_ok" -eq 1 ]; then
        passes=$((passes + 1))
    else
        failures=$((failures + 1))
        echo "FAIL: $1 '$name': status $2 (expected $3), expected stdout \"$4\" and stderr with \"$5\""
        echo "  stdout: $(head -c 300 "$work/out")"
        echo "  stderr: $(head -c 300 "$work/err")"
    fi
}

# NAME|what standard error must hold
while IFS='|' read -r name expected; do
    name=$(printf "$name")
    "$source_dir/scripts/run" "$name" >"$work/out" 2>"$work/err"
    check scripts/run $? 2 "" "$expected"
done <<'CASES'
folder|folder is a folder
missing.bin|no such file: missing.bin
한국.bin|code page 932 cannot write the name
euro€.bin|code page 932 cannot write the name
latin1-\xe9.bin|code page 932 cannot write the name
wave〜.bin|code page 932 cannot write the name
back\\slash.bin|holds a backslash
CASES

windows_folder="Z:${work//\//\\}"
for name in 見本.bin 'full～.bin' 'two words.bin' 'a:b.bin'; do
    "$source_dir/scripts/windows-path" "$name" >"$work/out" 2>"$work/err"
    check scripts/windows-path $? 0 "$windows_folder\\$name" ""
done
echo "$passes passed, $failures failed"
[ "$failures" -eq 0 ]
