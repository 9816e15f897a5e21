# shellcheck shell=bash
# real_input.sh - sourced by the end-to-end tests that drive vuko.exe with
# real input (xdotool) on a virtual display of their own; the display, the
# held prefix and the waits are scripts/lib/display.sh's.
#
#   real_input_setup NAME SOURCE_DIR VUKO_EXE DRIVER_EXE PREFIX WORK_DIR
#       runs the test again under wine-run --hold, so that PREFIX (the
#       test's own) is the test's alone until it ends; makes the folder
#       $work under WORK_DIR, starts Xvfb on a free display and points
#       DISPLAY at it; on exit, for whatever reason, the program is stopped
#       through its prefix's Wine server, Xvfb by its pid, and $work is
#       removed. Messages of fail start with NAME.
#   start_vuko FILE          runs vuko.exe on FILE and waits until its window
#                            shows it; sets $title to that window's title.
#   driver COMMAND ARGS...   window_driver.exe in the same prefix.
#   expect_bytes OFFSET BYTES  writes BYTES (printf escapes) into $expected.
#   fail_with_windows WHAT   fails with WHAT and the windows on the display.
#   wait_until SECONDS WHAT COMMAND...
#                            runs COMMAND every 50 ms until it succeeds;
#                            fails with WHAT and the windows on the display
#                            once SECONDS have passed.
#   compare_files WHAT       fails with WHAT and the bytes that differ when
#                            $file is not $expected.
#   close_vuko               closes vuko.exe's window and waits for its end,
#                            which must be with 0.
# Every wait has a deadline of a minute or more and ends early when what it
# waits for cannot come (Xvfb or vuko.exe ended); a failure says what was
# seen: vuko.exe's output and exit status (printed by wine-run as the clean-
# up stops it), the driver's messages and the windows it saw, Xvfb's
# messages.

# shellcheck source=scripts/lib/display.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/display.sh"

real_input_setup() {
    display_name=$1
    wine_run=$2/scripts/wine-run
    vuko=$3
    driver_exe=$4
    prefix=$5
    mkdir -p "$6"
    hold_prefix "$wine_run" "$prefix" bash "$0" "${@:2}"
    work=$(mktemp -d "$6/${1// /-}.XXXXXX")
    vuko_pid=""
    display_ready=""
    trap real_input_cleanup EXIT
    start_display "$work" 1280x1024x24
    display_ready=yes
}

real_input_cleanup() {
    local status=$?
    # vuko.exe's wine-run prints the program's output and, as the server
    # stops it, how it ended.
    "$wine_run" --prefix "$prefix" --stop || true
    if [ -n "$vuko_pid" ]; then wait "$vuko_pid" 2>/dev/null || true; fi
    stop_display "$status"
    rm -rf "$work"
    exit "$status"
}

fail() { display_fail "$@"; }

fail_with_windows() {
    echo "$display_name: $*" >&2
    [ -z "$display_ready" ] || driver state "${title:-}" >&2 || true
    exit 1
}
display_give_up() { fail_with_windows "$@"; }

start_vuko() {
    local name
    name=$(basename "$1")
    title="$name - VUKO"
    vuko_pattern="^${name//./\\.} - VUKO\$"
    "$wine_run" --prefix "$prefix" "$vuko" "Z:${1//\//\\}" &
    vuko_pid=$!
    wait_until 120 "the window did not show the file" vuko_shown
}

# Fails at once, with its exit status, when vuko.exe has ended.
vuko_running() {
    kill -0 "$vuko_pid" 2>/dev/null && return 0
    local status=0
    wait "$vuko_pid" || status=$?
    vuko_pid=""
    fail_with_windows "vuko.exe ended early with status $status"
}
vuko_shown() { vuko_running && xdotool search --name "$vuko_pattern" >/dev/null 2>&1; }
vuko_ended() { ! kill -0 "$vuko_pid" 2>/dev/null; }

close_vuko() {
    driver close "$title" || fail "close"
    wait_until 90 "vuko.exe did not end after WM_CLOSE" vuko_ended
    wait "$vuko_pid" || fail "vuko.exe exited with $?"
    vuko_pid=""
}

driver() { "$wine_run" --prefix "$prefix" "$driver_exe" "$@" | tr -d '\r'; }

# expected and file are set by the test that sources this.
# shellcheck disable=SC2154,SC2059 # BYTES are printf escapes
expect_bytes() { printf "$2" | dd of="$expected" bs=1 seek=$(($1)) conv=notrunc status=none; }

# shellcheck disable=SC2154 # file is set by the test that sources this
compare_files() {
    cmp "$expected" "$file" >/dev/null && return 0
    echo "$display_name: bytes that differ (offset from 1, expected, on disk, in octal):" >&2
    cmp -l "$expected" "$file" 2>&1 | head -n 20 >&2 || true
    fail "$1"
}
