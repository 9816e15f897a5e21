# real_input.sh - sourced by the end-to-end tests that drive vuko.exe with
# real input (xdotool) on a virtual display of their own.
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
#   driver COMMAND ARGS...   click_driver.exe in the same prefix.
#   expect_bytes OFFSET BYTES  writes BYTES (printf escapes) into $expected.
#   fail_with_windows WHAT   fails with WHAT and the windows on the display.
#   wait_until SECONDS WHAT COMMAND...
#                            runs COMMAND every 50 ms until it succeeds;
#                            fails with WHAT once SECONDS have passed.
#   compare_files WHAT       fails with WHAT and the bytes that differ when
#                            $file is not $expected.
#   close_vuko               closes vuko.exe's window and waits for its end,
#                            which must be with 0.
# Every wait has a deadline of a minute or more and ends early when what it
# waits for cannot come (Xvfb or vuko.exe ended); a failure says what was
# seen: vuko.exe's output and exit status (printed by wine-run as the clean-
# up stops it), the driver's messages and the windows it saw, Xvfb's
# messages.

real_input_setup() {
    real_input_name=$1
    wine_run=$2/scripts/wine-run
    vuko=$3
    driver_exe=$4
    prefix=$5
    mkdir -p "$prefix" "$6"
    if [ "${WINE_RUN_HELD:-}" != "$(cd "$prefix" && pwd)" ]; then
        exec "$wine_run" --prefix "$prefix" --hold bash "$0" "${@:2}"
    fi
    work=$(mktemp -d "$6/${1// /-}.XXXXXX")
    xvfb_pid=""
    vuko_pid=""
    display_ready=""
    trap real_input_cleanup EXIT

    # A display of our own: Xvfb takes a free number and writes it to fd 3.
    # Without -noreset it resets whenever its last client leaves, as each
    # xdotool call does, and a program that connects meanwhile is refused:
    # Wine's explorer then fails to start and vuko.exe gets no window.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    wait_until 90 "Xvfb did not take a display" xvfb_ready
    export DISPLAY=":$(head -n 1 "$work/display")"
    unset XAUTHORITY
    display_ready=yes
}

xvfb_ready() {
    [ -s "$work/display" ] && return 0
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb ended before it took a display"
    return 1
}

real_input_cleanup() {
    local status=$?
    # vuko.exe's wine-run prints the program's output and, as the server
    # stops it, how it ended.
    "$wine_run" --prefix "$prefix" --stop || true
    if [ -n "$vuko_pid" ]; then wait "$vuko_pid" 2>/dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
    if [ "$status" -ne 0 ] && [ -s "$work/xvfb.log" ]; then
        echo "$real_input_name: Xvfb's messages:" >&2
        cat "$work/xvfb.log" >&2
    fi
    rm -rf "$work"
    exit "$status"
}

fail() { echo "$real_input_name: $*" >&2; exit 1; }

fail_with_windows() {
    echo "$real_input_name: $*" >&2
    [ -z "$display_ready" ] || driver state "${title:-}" >&2 || true
    exit 1
}

wait_until() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ $SECONDS -lt $deadline ] || fail_with_windows "$what (waited $seconds s)"
        sleep 0.05
    done
}

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

expect_bytes() { printf "$2" | dd of="$expected" bs=1 seek=$(($1)) conv=notrunc status=none; }

compare_files() {
    cmp "$expected" "$file" >/dev/null && return 0
    echo "$real_input_name: bytes that differ (offset from 1, expected, on disk, in octal):" >&2
    cmp -l "$expected" "$file" 2>&1 | head -n 20 >&2 || true
    fail "$1"
}
