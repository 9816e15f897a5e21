# shellcheck shell=bash
# display.sh - sourced by the scripts and tests that run vuko.exe on a
# virtual display of their own (scripts/run without a display,
# scripts/screenshots, the end-to-end tests with real input and the test
# of scripts/run): Xvfb on a free display number, a Wine prefix held for
# the whole run, waits with a deadline, and the clean-up of all they
# started.
#
#   display_name=NAME      set before use: every message starts with NAME.
#   display_fail WHAT...   says WHAT and exits 1.
#   display_give_up WHAT   what a wait that ran out does: display_fail,
#                          unless the script defines its own after sourcing
#                          this (to print more of what it saw).
#   wait_until SECONDS WHAT COMMAND...
#                          runs COMMAND every 50 ms until it succeeds; gives
#                          up with WHAT once SECONDS have passed. COMMAND may
#                          fail at once when what it waits for cannot come.
#   hold_prefix WINE_RUN PREFIX COMMAND...
#                          unless PREFIX is held already, runs COMMAND (the
#                          script again, with its arguments) under
#                          wine-run --hold and ends with its status: PREFIX
#                          is then the script's alone while it runs, so that
#                          stopping its Wine server stops only what the
#                          script started.
#   start_display WORK SCREEN
#                          starts Xvfb with one screen of SCREEN (WxHxDEPTH)
#                          on a free display number, which it writes to
#                          WORK/display (its messages go to WORK/xvfb.log);
#                          waits up to 90 s for it, failing at once when Xvfb
#                          ends; points DISPLAY at it and gives it an X
#                          resource (load_display_resource). $xvfb_pid is
#                          its pid.
#   load_display_resource  puts one X resource, which no program reads, into
#                          the resource database of $DISPLAY (a display of
#                          our own, started with -noreset so that it keeps
#                          it); fails when xrdb cannot. Xlib reads the
#                          database once per connection when the display
#                          has one; on a display with none (a bare Xvfb) it
#                          looks for ~/.Xdefaults and ~/.Xdefaults-HOST
#                          again at every look-up, and Wine's X11 driver
#                          looks up hundreds of times in every repaint.
#   stop_display STATUS    stops that Xvfb by its pid and waits for its end;
#                          prints its messages when STATUS is not 0.
# No Xvfb inherits the descriptors 7 to 9, which the scripts use for locks.

display_fail() {
    # shellcheck disable=SC2154 # display_name is set by the script that sources this
    echo "$display_name: $*" >&2
    exit 1
}

display_give_up() { display_fail "$@"; }

wait_until() {
    local seconds=$1 what=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@"; do
        [ $SECONDS -lt $deadline ] || display_give_up "$what (waited $seconds s)"
        sleep 0.05
    done
}

hold_prefix() {
    local wine_run=$1 prefix=$2
    shift 2
    local folder
    mkdir -p "$prefix" && folder=$(cd "$prefix" && pwd) && [ -n "$folder" ] ||
        display_fail "cannot make or enter the prefix $prefix"
    if [ -z "${WINE_RUN_HELD:-}" ] || [ "$WINE_RUN_HELD" != "$folder" ]; then
        exec "$wine_run" --prefix "$prefix" --hold "$@"
    fi
}

xvfb_pid=""
display_work=""
start_display() {
    display_work=$1
    # Without -noreset Xvfb resets whenever its last client leaves (as each
    # xdotool call does), and refuses a program that connects meanwhile:
    # Wine's explorer then fails to start and vuko.exe gets no window.
    Xvfb -displayfd 3 -screen 0 "$2" -nolisten tcp -noreset 3>"$display_work/display" \
        2>"$display_work/xvfb.log" 7>&- 8>&- 9>&- &
    xvfb_pid=$!
    wait_until 90 "Xvfb did not take a display" display_taken
    DISPLAY=":$(head -n 1 "$display_work/display")"
    export DISPLAY
    unset XAUTHORITY
    load_display_resource
}

load_display_resource() {
    xrdb -nocpp -merge <<<'VUKO.virtualDisplay: true' ||
        display_fail "xrdb could not give the display $DISPLAY a resource"
}

display_taken() {
    [ -s "$display_work/display" ] && return 0
    kill -0 "$xvfb_pid" 2>/dev/null || display_fail "Xvfb ended before it took a display"
    return 1
}

stop_display() {
    [ -n "$xvfb_pid" ] || return 0
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
    if [ "$1" -ne 0 ] && [ -s "$display_work/xvfb.log" ]; then
        echo "$display_name: Xvfb's messages:" >&2
        cat "$display_work/xvfb.log" >&2
    fi
}
