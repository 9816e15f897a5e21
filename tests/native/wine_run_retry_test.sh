#!/usr/bin/env bash
# wine_run_retry_test.sh SOURCE_DIR - scripts/wine-run starts a program once
# more when Wine itself failed to start it (before the program's own code
# ran), says so, and never starts again a program that ran and failed.
# A stand-in for Wine's loader (VUKO_WINE) plays each case; the prefix is
# marked as set up for this display, with unmanaged windows, so that only
# the program is started through the loader.
set -uo pipefail
source_dir=$1
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/set_up_prefix.sh"
trap '"$source_dir/scripts/wine-run" --prefix "$prefix" --stop; rm -rf "$work"' EXIT

# The stand-in: its n-th start does what line n of $work/plan says:
# "start-fails" (Wine's message, status 1, nothing on standard output),
# "runs-and-fails" (output, then status 3) or "runs" (output, status 0).
cat >"$work/loader" <<'LOADER'
#!/usr/bin/env bash
dir=$(dirname "$0")
n=$(( $(cat "$dir/starts" 2>/dev/null || echo 0) + 1 ))
echo $n >"$dir/starts"
case $(sed -n "${n}p" "$dir/plan") in
    start-fails) echo "failed to map the shared user data: c0000018" >&2; exit 1 ;;
    runs-and-fails) echo "the program ran"; exit 3 ;;
    runs) echo "the program ran"; exit 0 ;;
esac
exit 9
LOADER
chmod +x "$work/loader"

source "$(dirname "$0")/cases.sh"
show_seen() {
    echo "--- standard output:"; cat "$work/out"
    echo "--- standard error:"; cat "$work/err"
}
# check NAME PLAN EXPECTED_STATUS EXPECTED_STARTS RETRY_SAID(0/1)
check() {
    # shellcheck disable=SC2086 # the plan's words, one a line
    printf '%s\n' $2 >"$work/plan"
    rm -f "$work/starts"
    VUKO_WINE=$work/loader "$source_dir/scripts/wine-run" --prefix "$prefix" program.exe \
        >"$work/out" 2>"$work/err"
    local status=$?
    local starts
    starts=$(cat "$work/starts" 2>/dev/null || echo 0)
    local said=0
    grep -q "starting it once more" "$work/err" && said=1
    expect "$1: status $status (expected $3), $starts starts (expected $4), retry said $said (expected $5)" \
        seen_as "$3" "$4" "$5"
}
# seen_as STATUS STARTS SAID: whether check's run saw these.
seen_as() { [ "$status" -eq "$1" ] && [ "$starts" -eq "$2" ] && [ "$said" -eq "$3" ]; }
check "a start that Wine failed is tried once more" "start-fails runs" 0 2 1
check "a program that ran and failed is not started again" "runs-and-fails runs" 3 1 0
check "a second failed start ends the run" "start-fails start-fails runs" 1 2 1
check "a program that runs is started once" "runs" 0 1 0
end_cases
