#!/usr/bin/env bash
# shellcheck disable=SC2086 # a point is an "x y" string, split on purpose into xdotool's two arguments
# real_scroll_test.sh SOURCE_DIR VUKO_EXE DRIVER_EXE PREFIX WORK_DIR
#
# End to end with the real mouse on the scroll bar and the wheel: runs
# vuko.exe on a file under Wine on a virtual display of its own, turns the
# wheel over the view and over the scroll bar with xdotool, then clicks the
# bar's arrows and page area with an edit pending, answers the save question
# (Yes, No, Escape) with the pointer left on the bar, and checks that each
# click moved the view exactly once and that only the byte saved by Yes
# reached the file. Then it types arrows, Page Down and Ctrl+End into the
# view and minimises and restores the window by its caption buttons, and
# checks that the view still shows its header at the top; last it replaces
# the file behind the program's back, so that saving an edit fails, and
# checks that a click on an arrow and a drag of the thumb each ask the save
# question once and, after Yes and the failed save, ask nothing more and
# move nothing, and that neither file got the edit. Everything started here
# is stopped here: the program through its prefix's Wine server (PREFIX is
# this test's own, held for the whole test), Xvfb by its pid. Every wait
# has a deadline, and a failure says what was seen (see real_input.sh).
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/real_input.sh"
real_input_setup "real scroll" "$@"

# 64 KiB of the bytes 00 01 .. FF over and over: room to scroll.
file=$work/scroll.bin
# shellcheck disable=SC2059 # the format is the escape of byte i
for i in $(seq 0 255); do printf "\\x$(printf %02x "$i")"; done >"$work/256"
for _ in $(seq 256); do cat "$work/256"; done >"$file"
expected=$work/expected.bin
cp "$file" "$expected"
start_vuko "$file"
driver place "$title" 720 560 || fail "cannot place the window"
# The first pair of the first dump line, the middle of the view, and the
# scroll bar's arrows and middle (below the thumb near the start: the page
# area).
names=(first_pair view bar_up bar bar_down)
mapfile -t points < <(driver points "$title" 1:11 20:40 bar-up bar bar-down)
[ "${#points[@]}" -eq "${#names[@]}" ] || fail "no points: ${points[*]}"
declare -A at
for i in "${!names[@]}"; do at[${names[$i]}]=${points[$i]}; done

# top OFFSET [SECONDS]: the view's first dump line shows OFFSET, and keeps
# showing it for SECONDS.
top() { driver wait-top "$title" "$@" || fail "the view is not at $1 (see above)"; }
hex_offset() { printf '%08X' "$1"; }

# ${at[NAME]} is unquoted on purpose: "x y" becomes two arguments.
# The wheel: button 4 turns it away from the user (towards the start), 5
# towards the user; one click is one notch, three lines by default.
wheel() { xdotool mousemove --sync ${at[$1]} click --repeat "$3" "$2"; }
wheel view 5 1
top 00000030
[ "$(driver top "$title")" = "00000030 0" ] || fail "the view scrolled its own text: $(driver top "$title")"
wheel bar 5 1
top 00000060
wheel view 5 2
top 000000C0
wheel bar 4 1
top 00000090
wheel view 4 4
top 00000000
[ "$(driver top "$title")" = "00000000 0" ] || fail "the view scrolled its own text: $(driver top "$title")"

# How long this machine takes to let the bar repeat: hold the down arrow
# until it has moved the view six lines (its first step and five repeats,
# 200 ms and 5 x 50 ms of its own timer), measured with the same driver
# readings as the checks below. Ten times that, from 3 s to 30 s, is the
# time each check below watches the view: ample for dozens of repeats, so a
# bar still tracking a press shows, while a loaded machine can only
# lengthen the watch.
started=$(date +%s%N)
xdotool mousemove --sync ${at[bar_down]} mousedown 1
driver wait-past "$title" 00000060 || fail "holding the down arrow did not move the view six lines"
xdotool mouseup 1
repeat_ns=$(($(date +%s%N) - started))
watch=$(awk -v ns="$repeat_ns" 'BEGIN { s = 10 * ns / 1e9; if (s < 3) s = 3; if (s > 30) s = 30; printf "%.1f", s }')
read -r shown _ < <(driver top "$title")
echo "real scroll: the held arrow moved to $shown in $((repeat_ns / 1000000)) ms; watching $watch s"
# Back to the start by the wheel, with notches to spare for repeats that
# came before the release was handled (the wheel comes after it).
wheel view 4 $((16#$shown / 16 / 3 + 20))
top 00000000
top_now=0

hex="16進数で編集"
question="上書き保存|変更内容を保存しますか?"
# edit NEW_BYTE: a click on the first pair opens the box for the top line.
edit() {
    local shown
    xdotool mousemove --sync ${at[first_pair]} click 1
    shown=$(driver answer "$title" "$1") || fail "no box for the click at $(hex_offset "$top_now")"
    case $shown in "$hex|$(hex_offset "$top_now")|"*) ;; *) fail "box shows '$shown'" ;; esac
}
# click_bar PLACE ANSWER STEP: with an edit pending, one click on the bar
# asks the save question; it is answered (Yes or No by a click on its
# button, Escape by the key), the pointer goes back to rest on the bar, and
# the view must have moved by STEP bytes once and stay there.
click_bar() {
    local lines shown
    xdotool mousemove --sync ${at[$1]} click 1
    mapfile -t lines < <(driver button "$title" 6)
    [ "${#lines[@]}" -eq 2 ] || fail "no save question after the click on $1: ${lines[*]}"
    shown=${lines[0]}
    [ "$shown" = "$question" ] || fail "the question shows '$shown'"
    case $2 in
    yes) xdotool mousemove --sync ${lines[1]} click 1 ;;
    no) mapfile -t lines < <(driver button "$title" 7); xdotool mousemove --sync ${lines[1]} click 1 ;;
    escape) xdotool key Escape ;;
    esac
    xdotool mousemove --sync ${at[$1]}
    top_now=$((top_now + $3))
    top "$(hex_offset "$top_now")" "$watch"
}

# No: the edit is dropped by the move; the down arrow moves one line.
edit A5
click_bar bar_down no 16
# Yes: the edit is saved; the up arrow moves one line back.
edit B6
expect_bytes "$top_now" '\xB6'
click_bar bar_up yes -16
# Escape, which answers No: the page area moves one page.
edit C7
click_bar bar escape 256

compare_files "the file on disk is not the file with the one saved edit"

# Widening the window by its right edge moves the scroll bar without
# changing it: where it now stands it must look exactly as it looked before
# (same thumb, same height), and at once, before the pointer comes near it.
# strip X Y FILE: the bar's 16-pixel column, from the middle of its up arrow
# at (X, Y) down to its down arrow, as raw pixels.
strip() {
    import -window root -crop "16x$((bar_length))+$(($1 - 8))+$(($2 - 8))" +repage -depth 8 rgb:"$3"
}
read -r up_x up_y <<<"${at[bar_up]}"
read -r _ down_y <<<"${at[bar_down]}"
bar_length=$((down_y - up_y + 16))
xdotool mousemove --sync 5 5
strip "$up_x" "$up_y" "$work/bar-before"
window=$(xdotool search --name "$vuko_pattern" | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
edge_y=$((Y + HEIGHT / 2))
xdotool mousemove --sync $((X + WIDTH - 2)) "$edge_y" mousedown 1
for step in $(seq 10 10 120); do xdotool mousemove --sync $((X + WIDTH - 2 + step)) "$edge_y"; done
xdotool mouseup 1 mousemove --sync 5 5
bar_moved() { read -r new_x new_y < <(driver points "$title" bar-up) && [ "$new_x" -gt "$up_x" ]; }
wait_until 60 "the window did not get wider" bar_moved
[ "$new_y" -eq "$up_y" ] || fail "the bar moved down from $up_y to $new_y"
bar_drawn() { strip "$new_x" "$new_y" "$work/bar-after" && cmp -s "$work/bar-before" "$work/bar-after"; }
deadline=$((SECONDS + 30))
until bar_drawn; do
    [ $SECONDS -lt $deadline ] ||
        fail "30 s after widening, the scroll bar at x $new_x is not drawn as it was at x $up_x:" \
            "$(cmp -l "$work/bar-before" "$work/bar-after" | wc -l) of $((16 * bar_length * 3)) bytes differ"
    sleep 0.1
done

# The view always shows its text from its first line, the header: neither
# keys that take the caret below the lines shown nor the focus given back
# to the view when the window is restored scroll it. A click on the header
# line picks no byte and opens no box; the view is read once the caret
# stands where the keys take it.
read -r header_x header_y < <(driver points "$title" 0:20) || fail "no point on the header line"
# view_keys LINE KEY...: a click on the header line, which must put the
# caret there, then the keys; the caret must reach text LINE (as
# wait-caret takes it: "1+" is line 1 or a later one, "last" the last
# line) and the view still show the header at the top, with nothing
# selected.
view_keys() {
    local line=$1 reached keys
    shift
    keys="$*"
    [ $# -le 3 ] || keys="$1 x $#"
    xdotool mousemove --sync "$header_x" "$header_y" click 1
    driver wait-caret "$title" 0 >/dev/null ||
        fail "the click on the header line did not put the caret there (see above)"
    xdotool key "$@"
    reached=$(driver wait-caret "$title" "$line") ||
        fail "the keys $keys did not take the caret to line $line (see above)"
    driver view-home "$title" 1 ||
        fail "after the keys $keys (caret on line $reached) the view no longer shows its header at the top (see above)"
}
downs=()
for _ in $(seq 40); do downs+=(Down); done
view_keys 40 "${downs[@]}"
view_keys 1+ Next
view_keys last ctrl+End

# Minimised by a click on its minimise button and restored by a click on
# the restore button of the short caption that Wine draws for it at the
# bottom of the screen (there is no window manager here).
read -r minimize_x minimize_y < <(driver points "$title" minimize) || fail "no minimise button found"
xdotool mousemove --sync "$minimize_x" "$minimize_y" click 1
restore_shown() { restore_at=$(driver points "$title" restore 2>/dev/null); }
wait_until 90 "the click on the minimise button did not minimise the window" restore_shown
xdotool mousemove --sync ${restore_at} click 1
driver view-home "$title" "$watch" ||
    fail "after minimising and restoring the window, the view no longer shows its header at the top (see above)"
top "$(hex_offset "$top_now")"

# One press of the scroll bar asks at most once. The file is replaced
# behind the program's back (another program wrote a new version and
# renamed it over the name), so that every save of the pending edit fails.
# A click on an arrow and a drag of the thumb must each ask once; after Yes
# and the failed save, nothing more may come of that press: no box, no
# move. The file the program still holds open stays reachable through a
# second name, and neither file may ever get the edit.
mapfile -t points < <(driver points "$title" 1:11 bar-down)
[ "${#points[@]}" -eq 2 ] || fail "no points: ${points[*]}"
at[first_pair]=${points[0]}
at[bar_down]=${points[1]}
edit D8
held=$work/held.bin
held_expected=$work/held-expected.bin
ln "$file" "$held" || fail "cannot give the open file a second name"
cp "$expected" "$held_expected"
cp "$file" "$work/new.bin"
printf '\x3C' | dd of="$work/new.bin" bs=1 seek=$((0x9000)) conv=notrunc status=none
mv -f "$work/new.bin" "$file" || fail "cannot replace the file"
expect_bytes $((0x9000)) '\x3C'
failed_save="上書き保存|保存できませんでした"
# one_failed_save WHAT REST: after WHAT, the save question; Yes by a click,
# the failed save, OK by a click, the pointer back to rest at REST on the
# bar; then for the watch no box opens and the view stays.
one_failed_save() {
    local lines
    mapfile -t lines < <(driver button "$title" 6)
    [ "${#lines[@]}" -eq 2 ] || fail "no save question after $1: ${lines[*]}"
    [ "${lines[0]}" = "$question" ] || fail "after $1 the question shows '${lines[0]}'"
    xdotool mousemove --sync ${lines[1]} click 1
    mapfile -t lines < <(driver button "$title" 1)
    [ "${#lines[@]}" -eq 2 ] || fail "no box with OK after Yes to the question after $1: ${lines[*]}"
    [ "${lines[0]}" = "$failed_save" ] || fail "after $1 and Yes, the box shows '${lines[0]}', not '$failed_save'"
    xdotool mousemove --sync ${lines[1]} click 1
    driver wait-closed "$title" "$failed_save" || fail "the click on OK did not close '$failed_save'"
    xdotool mousemove --sync $2
    driver wait-still "$title" "$(hex_offset "$top_now")" "$watch" ||
        fail "after $1, Yes and the failed save, the same press asked again or moved the view (see above)"
}
xdotool mousemove --sync ${at[bar_down]} click 1
one_failed_save "a click on the down arrow" "${at[bar_down]}"
read -r thumb_x thumb_y < <(driver points "$title" thumb) || fail "no thumb found"
xdotool mousemove --sync "$thumb_x" "$thumb_y" mousedown 1
for step in 8 16 24 32 40 48; do xdotool mousemove --sync "$thumb_x" $((thumb_y + step)); done
xdotool mouseup 1
one_failed_save "a drag of the thumb" "$thumb_x $thumb_y"

close_vuko
compare_files "the file now under the name is not the replacement with no edit of this program"
cmp "$held_expected" "$held" >/dev/null || {
    cmp -l "$held_expected" "$held" | head -n 20 >&2 || true
    fail "the replaced file, which the program held open, changed (bytes above: offset from 1, expected, on disk)"
}
echo "real scroll: the wheel and each click on the bar moved the view as far as they should"
echo "real scroll: keys in the view and a minimise and restore left the header at the top"
echo "real scroll: a click and a drag on the bar with a failing save asked once each and moved nothing"
