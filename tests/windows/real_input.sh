# real_input.sh - sourced by the end-to-end tests that drive vuko.exe with
# real input (xdotool) on a virtual display of their own.
#
#   real_input_setup NAME SOURCE_DIR VUKO_EXE DRIVER_EXE PREFIX WORK_DIR
#       makes the folder $work under WORK_DIR, starts Xvfb on a free display
#       and points DISPLAY at it; on exit, for whatever reason, the program
#       is stopped through its prefix's Wine server (PREFIX is the test's
#       own), Xvfb by its pid, and $work is removed. Messages of fail start
#       with NAME.
#   start_vuko FILE          runs vuko.exe on FILE and waits until its window
#                            shows it; sets $title to that window's title.
#   driver COMMAND ARGS...   click_driver.exe in the same prefix.
#   expect_bytes OFFSET BYTES  writes BYTES (printf escapes) into $expected.

real_input_setup() {
    real_input_name=$1
    wine_run=$2/scripts/wine-run
    vuko=$3
    driver_exe=$4
    prefix=$5
    mkdir -p "$6"
    work=$(mktemp -d "$6/${1// /-}.XXXXXX")
    xvfb_pid=""
    vuko_pid=""
    trap real_input_cleanup EXIT

    # A display of our own: Xvfb takes a free number and writes it to fd 3.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
    [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(head -n 1 "$work/display")"
    unset XAUTHORITY
}

real_input_cleanup() {
    local status=$?
    "$wine_run" --prefix "$prefix" --stop || true
    if [ -n "$vuko_pid" ]; then wait "$vuko_pid" 2>/dev/null || true; fi
    if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$work"
    exit "$status"
}

fail() { echo "$real_input_name: $*" >&2; exit 1; }

start_vuko() {
    local name pattern
    name=$(basename "$1")
    title="$name - VUKO"
    pattern="^${name//./\\.} - VUKO\$"
    "$wine_run" --prefix "$prefix" "$vuko" "Z:${1//\//\\}" &
    vuko_pid=$!
    for _ in $(seq 600); do
        xdotool search --name "$pattern" >/dev/null 2>&1 && return 0
        kill -0 "$vuko_pid" 2>/dev/null || fail "vuko.exe ended early"
        sleep 0.05
    done
    fail "the window did not show the file"
}

driver() { "$wine_run" --prefix "$prefix" "$driver_exe" "$@" | tr -d '\r'; }

expect_bytes() { printf "$2" | dd of="$expected" bs=1 seek=$(($1)) conv=notrunc status=none; }
