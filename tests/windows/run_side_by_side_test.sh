#!/usr/bin/env bash
# run_side_by_side_test.sh SOURCE_DIR WORK_DIR - runs of scripts/run, on a
# display and without one, work at the same time and each ends as it should:
# two editors open on a display of the test's own while two previews run
# without a display, one of a long name (250 bytes, too long for
# "vuko-NAME.png"); each preview must print the path of a PNG of its window,
# named vuko-NAME.png with NAME cut where it must be, and end with 0 and
# nothing on standard error (Wine's notices are not the user's business
# when the editor works) while the editors are still open; then each
# editor's window is closed with a real click on its close box, and its run
# must end with 0 and print nothing.
# Then a window manager starts on that display, and a run's window must be
# left to it: maximised by the window manager, the window fills the screen
# below the title bar that the window manager draws, restored it is where
# it was, and closed by the window manager the run ends with 0.
set -uo pipefail
source_dir=$1
source "$source_dir/scripts/lib/display.sh"
display_name="scripts/run test"
mkdir -p "$2"
work=$(mktemp -d "$2/side-by-side.XXXXXX")
run_pids=()
wm_pid=""
cleanup() {
    local status=$? pid
    for pid in "${run_pids[@]}"; do kill -- -"$pid" 2>/dev/null || true; done
    [ -z "$wm_pid" ] || kill "$wm_pid" 2>/dev/null || true
    stop_display "$status"
    rm -rf "$work"
    exit $status
}
trap cleanup EXIT

# Every failure, a wait that ran out included, shows what each run printed
# so far.
fail() {
    local name
    echo "FAIL: $*" >&2
    for name in display-1 display-2 "${previews[@]}" desktop; do
        [ -e "$work/$name.out" ] || continue
        echo "--- $name: stdout" >&2; cat "$work/$name.out" >&2
        echo "--- $name: stderr" >&2; cat "$work/$name.err" >&2
    done
    [ -z "${seen:-}" ] || echo "last seen: $seen" >&2
    [ -z "${DISPLAY:-}" ] || xdotool search --name 'VUKO' getwindowname %@ >&2 2>/dev/null || true
    exit 1
}
display_fail() { fail "$@"; }
display_give_up() { fail "$@"; }

# The previews and the names of their PNGs: a file's name of 250 bytes
# leaves room for 246 in the PNG's name.
long=$(printf '見%.0s' {1..82})
previews=(preview-1 "$long")
declare -A png_of=([preview-1]=vuko-preview-1.bin.png [$long]=vuko-$long.png)
for name in display-1 display-2 "${previews[@]}" desktop; do
    head -c 3000 /dev/urandom >"$work/$name.bin"
done

start_display "$work" 1280x1024x24
display=$DISPLAY

# start NAME [ENV...]: scripts/run on NAME.bin in a process group of its own
declare -A pid_of
start() {
    local name=$1
    shift
    env "$@" setsid "$source_dir/scripts/run" "$work/$name.bin" >"$work/$name.out" 2>"$work/$name.err" &
    pid_of[$name]=$!
    run_pids+=($!)
}
ended() { ! kill -0 "${pid_of[$1]}" 2>/dev/null; }
# status NAME: the exit status of an ended run
status() { local s=0; wait "${pid_of[$1]}" || s=$?; echo $s; }
window_of() { DISPLAY=$display xdotool search --name "^$1\\.bin - VUKO\$" 2>/dev/null | head -n 1; }
shown() { [ -n "$(window_of "$1")" ] || { ended "$1" && fail "$1 ended before its window showed"; return 1; }; }

start display-1 DISPLAY="$display"
start display-2 DISPLAY="$display"
for name in "${previews[@]}"; do start "$name" -u DISPLAY -u XAUTHORITY; done

wait_until 300 "display-1's window did not show its file" shown display-1
wait_until 300 "display-2's window did not show its file" shown display-2
for name in "${previews[@]}"; do
    wait_until 300 "$name did not end while the editors were open" ended "$name"
    s=$(status "$name")
    [ "$s" -eq 0 ] || fail "$name ended with status $s"
    [ ! -s "$work/$name.err" ] || fail "$name printed on standard error"
    png=$(cat "$work/$name.out")
    [ "$(wc -l <"$work/$name.out")" -eq 1 ] && [ -f "$png" ] || fail "$name did not print the path of its picture"
    [ "$(basename "$png")" = "${png_of[$name]}" ] || fail "$name's picture $png is not named ${png_of[$name]}"
    [ "$(identify -format '%m' "$png" 2>/dev/null)" = PNG ] || fail "$name's picture $png is no PNG"
    rm -rf "$(dirname "$png")"
done
for name in display-1 display-2; do
    ended "$name" && fail "$name ended while its window was open"
done

# The close box is at the right end of the caption that Wine draws. Both
# windows may open at the same place: each click closes the window on top,
# whichever run it belongs to.
editor_windows() { DISPLAY=$display xdotool search --name '\.bin - VUKO$' 2>/dev/null; }
fewer_windows_than() { [ "$(editor_windows | wc -l)" -lt "$1" ]; }
for _ in 1 2; do
    windows=$(editor_windows)
    [ -n "$windows" ] || fail "the editors' windows have gone before their close boxes were clicked"
    eval "$(DISPLAY=$display xdotool getwindowgeometry --shell "$(head -n 1 <<<"$windows")")"
    # shellcheck disable=SC2153 # X, Y and WIDTH come from getwindowgeometry --shell
    DISPLAY=$display xdotool mousemove $((X + WIDTH - 12)) $((Y + 12)) click 1
    wait_until 90 "a click on a close box closed no window" fewer_windows_than "$(wc -l <<<"$windows")"
done
for name in display-1 display-2; do
    wait_until 90 "$name did not end after its window was closed" ended "$name"
    s=$(status "$name")
    [ "$s" -eq 0 ] || fail "$name ended with status $s"
    [ ! -s "$work/$name.out" ] && [ ! -s "$work/$name.err" ] || fail "$name printed something"
done
echo "two editors and two previews ran side by side and ended as they should"

DISPLAY=$display openbox --sm-disable >"$work/openbox.log" 2>&1 &
wm_pid=$!
wm_ready() { DISPLAY=$display wmctrl -m >/dev/null 2>&1; }
wait_until 60 "the window manager did not start" wm_ready
start desktop DISPLAY="$display"
wait_until 300 "desktop's window did not show its file" shown desktop
window=$(window_of desktop)
# geometry: the window's place and size on the screen, and its state
geometry() {
    DISPLAY=$display xwininfo -id "$window" |
        sed -n -e 's/^ *Absolute upper-left \([XY]\): *\(-\?[0-9]*\)/\1=\2/p' -e 's/^ *\(Width\|Height\): *\([0-9]*\)/\1=\2/p' | tr '\n' ' '
    DISPLAY=$display xprop -id "$window" _NET_WM_STATE | sed 's/.*= *//'
}
# the frame that the window manager draws around the window: left, right,
# top (the title bar) and bottom, in pixels
frame() { DISPLAY=$display xprop -id "$window" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ','; }
restored=$(geometry)
read -r _ _ top _ <<<"$(frame)"
[ -n "$top" ] && [ "$top" -gt 0 ] || fail "the window manager drew no title bar: frame '$(frame)', $restored"
maximised() {
    local X Y Width Height left right top bottom
    seen="$(geometry), frame $(frame)"
    eval "$(cut -d' ' -f1-4 <<<"$seen")"
    read -r left right top bottom <<<"$(frame)"
    [ "$X" -eq "$left" ] && [ "$Y" -eq "$top" ] && [ "$top" -gt 0 ] &&
        [ "$Width" -eq $((1280 - left - right)) ] && [ "$Height" -eq $((1024 - top - bottom)) ]
}
DISPLAY=$display wmctrl -i -r "$window" -b add,maximized_vert,maximized_horz
wait_until 60 "maximised, the window did not fill the screen below its title bar" maximised
is_restored() { seen=$(geometry) && [ "$seen" = "$restored" ]; }
DISPLAY=$display wmctrl -i -r "$window" -b remove,maximized_vert,maximized_horz
wait_until 60 "restored, the window is not back at $restored" is_restored
DISPLAY=$display wmctrl -i -c "$window"
wait_until 90 "desktop did not end after the window manager closed its window" ended desktop
s=$(status desktop)
[ "$s" -eq 0 ] || fail "desktop ended with status $s"
[ ! -s "$work/desktop.out" ] && [ ! -s "$work/desktop.err" ] || fail "desktop printed something"
echo "on a desktop the window manager maximised, restored and closed the editor's window"
