#!/usr/bin/env bash
# shellcheck disable=SC2016 # the conditions handed to expect are eval strings, expanded when evaluated
# wine_run_test.sh SOURCE_DIR - what scripts/wine-run does around the
# program it runs, with a stand-in for Wine's loader (VUKO_WINE) that logs
# every call and a prefix marked as set up for this display:
# - Wine's own messages are not shown when the program ends with 0, and are
#   shown, with the program's, when it fails;
# - --managed sets the prefix's window setting once, and a run without it
#   sets it back;
# - a run that finds a lock held by another run says after 5 s what it
#   waits for (at once, as the deadline here is below 5 s), and gives up at
#   the deadline (WINE_RUN_LOCK_WAIT) with status 3, its program never
#   started;
# - a prefix that cannot be made stops the run at once.
set -uo pipefail
source_dir=$1
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/set_up_prefix.sh"
holder=""
# The runs start the prefix's (real) Wine server; the last stop ends it.
trap '[ -z "$holder" ] || echo >"$work/release"; WINE_RUN_LOCK_WAIT=60 "$source_dir/scripts/wine-run" --prefix "$prefix" --stop; rm -rf "$work"' EXIT

# The stand-in logs its arguments; "noisy.exe" prints what Wine prints
# around a program (its notices and error lines) next to the program's own
# line, and ends with the status in $work/status.
cat >"$work/loader" <<'LOADER'
#!/usr/bin/env bash
dir=$(dirname "$0")
echo "$*" >>"$dir/calls"
if [ "$1" = noisy.exe ]; then
    echo 'wine: Read access denied for device L"\\??\\Z:\\", FS volume label and serial are not available.' >&2
    echo '0024:err:ole:CoGetClassObject class {xyz} not registered' >&2
    echo "the program's own message" >&2
    exit "$(cat "$dir/status")"
fi
exit 0
LOADER
chmod +x "$work/loader"

source "$(dirname "$0")/cases.sh"
show_seen() {
    echo "--- status: $status; standard output:"; cat "$work/out"
    echo "--- standard error:"; cat "$work/err"
    echo "--- loader calls:"; cat "$work/calls" 2>/dev/null
}
wine_run() {
    rm -f "$work/calls"
    VUKO_WINE=$work/loader "$source_dir/scripts/wine-run" --prefix "$prefix" "$@" >"$work/out" 2>"$work/err"
    status=$?
}
err_is() { [ "$(cat "$work/err")" = "$1" ]; }
err_has() { grep -qF -- "$1" "$work/err"; }
calls_are() { [ "$(cat "$work/calls" 2>/dev/null)" = "$1" ]; }

# Wine's messages
echo 0 >"$work/status"
wine_run noisy.exe
expect "a program that ends with 0 shows only its own messages" \
    err_is "the program's own message"
echo 4 >"$work/status"
wine_run noisy.exe
expect "a program that fails shows Wine's messages too" \
    eval 'err_has "wine: Read access denied" && err_has "0024:err:ole" && err_has "ended with status 4"'

# The window setting
# shellcheck disable=SC2034 # read inside the eval strings below
managed_call="reg add HKCU\\Software\\Wine\\X11 Driver /v Managed /d"
wine_run --managed quiet.exe
expect "--managed sets the setting, then runs the program" \
    eval 'calls_are "$managed_call Y /f"$'"'\n'"'"quiet.exe" && [ "$(cat "$prefix/.vuko-managed")" = Y ]'
wine_run --managed quiet.exe
expect "a second --managed run leaves the setting alone" calls_are "quiet.exe"
wine_run quiet.exe
expect "a run without --managed sets it back" \
    eval 'calls_are "$managed_call N /f"$'"'\n'"'"quiet.exe" && [ "$(cat "$prefix/.vuko-managed")" = N ]'

# Locks held by another run: the set-up lock, then the use lock (as a run
# whose program runs holds it), each against a run and a stop.
# hold LOCK: another run holds the lock until release.
mkfifo "$work/release"
hold() {
    (flock -x 6 && touch "$work/held" && read -r _ <"$work/release") 6>"$prefix/$1" &
    holder=$!
    while [ ! -e "$work/held" ]; do sleep 0.05; done
}
release() { echo >"$work/release"; wait "$holder"; holder=""; rm -f "$work/held"; }
export WINE_RUN_LOCK_WAIT=1
hold .vuko-lock
started=$EPOCHREALTIME
wine_run quiet.exe
waited=$(awk "BEGIN { print $EPOCHREALTIME - $started }")
expect "a run gives up on a held set-up lock, saying what it waited for" \
    eval '[ $status -eq 3 ] && [ ! -e "$work/calls" ] &&
        err_has "waiting up to 1 s for another run to finish setting up or stopping the Wine server" &&
        err_has "gave up after 1 s"'
# Within about the wait it was given, not after a first wait of its own
# (which is 5 s when the wait is longer).
expect "a wait of 1 s gives up within 4 s (it took $waited s)" awk "BEGIN { exit !($waited < 4) }"
wine_run --stop
expect "a stop gives up on a held set-up lock" eval '[ $status -eq 3 ] && err_has "gave up after 1 s"'
release
hold .vuko-use
wine_run --stop
expect "a stop gives up on the use lock of a running program" \
    eval '[ $status -eq 3 ] && err_has "waiting up to 1 s for the programs that other runs started to end"'
release
wine_run --stop
expect "a stop with no lock held ends at once" eval '[ $status -eq 0 ] && [ ! -s "$work/err" ]'

# A prefix that cannot be made: the run stops at once and says so, its
# program never started and no lock file written anywhere else (such as
# the root folder, where an empty prefix would put them).
rm -f "$work/calls"
VUKO_WINE=$work/loader "$source_dir/scripts/wine-run" --prefix /proc/no-such-folder/prefix quiet.exe \
    >"$work/out" 2>"$work/err"
status=$?
expect "a prefix that cannot be made stops the run" \
    eval '[ $status -eq 2 ] && err_has "cannot make or enter the prefix /proc/no-such-folder/prefix" && [ ! -e "$work/calls" ] && [ ! -e /.vuko-use ]'

end_cases
