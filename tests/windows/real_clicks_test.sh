#!/usr/bin/env bash
# shellcheck disable=SC2086 # a point is an "x y" string, split on purpose into xdotool's two arguments
# real_clicks_test.sh SOURCE_DIR VUKO_EXE DRIVER_EXE PREFIX WORK_DIR
#
# End to end with real pointer clicks: runs vuko.exe on a file under Wine
# on a virtual display of its own, clicks into the view with xdotool
# (instant clicks, a held click, drags that select, a press released
# outside the window, clicks after letters typed into the view, in a window
# that shows all the view's lines and in one too low for them), answers
# each input box through window_driver.exe, saves, and compares the file on
# disk byte for byte. Each answer checks the box's title, label and initial
# text, so a click that opened no box, a second box for one click, or a box
# for a drag shows as a wrong box.
# Everything started here is stopped here: the program through its
# prefix's Wine server (PREFIX is this test's own, held for the whole test),
# Xvfb by its pid. Every wait has a deadline, and a failure says what was
# seen (see real_input.sh).
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/real_input.sh"
real_input_setup "real clicks" "$@"

# Bytes 00 01 .. FF; the expected file gets the same edits as the program.
file=$work/clicks.bin
# shellcheck disable=SC2059 # the format is the escape of byte i
for i in $(seq 0 255); do printf "\\x$(printf %02x "$i")"; done >"$file"
expected=$work/expected.bin
cp "$file" "$expected"
start_vuko "$file"

# The whole width of the dump on the screen, with room beside the window.
driver place "$title" 720 560 || fail "cannot place the window"
# Where to click: the text line and the column before which the caret goes
# (line 0 is the header; line n shows the bytes from 16 (n - 1)), or beside
# the window. The driver turns them into screen points.
declare -A place=(
    [hex_12]=2:17 [hex_25]=3:26 [drag_from]=4:11 [drag_to]=4:35 [text_53]=6:63
    [hex_41]=5:14 [outside]=outside [text_6f]=7:75 [hex_70]=8:11 [hex_77]=8:32
    [hex_8f]=9:56 [last_from]=12:11 [last_to]=12:40
    [digits_00]=1:4 [typed_over_01]=1:16 [hex_01]=1:14
)
names=("${!place[@]}")
places=()
for name in "${names[@]}"; do places+=("${place[$name]}"); done
mapfile -t points < <(driver points "$title" "${places[@]}")
[ "${#points[@]}" -eq "${#names[@]}" ] || fail "no click points: ${points[*]}"
declare -A at
for i in "${!names[@]}"; do at[${names[$i]}]=${points[$i]}; done

# ${at[NAME]} is unquoted on purpose: "x y" becomes two arguments.
instant_click() { xdotool mousemove --sync ${at[$1]} click 1; }
held_click() { xdotool mousemove --sync ${at[$1]} mousedown 1 sleep 0.2 mouseup 1; }
press_move_release() { xdotool mousemove --sync ${at[$1]} mousedown 1 sleep 0.1 mousemove --sync ${at[$2]} sleep 0.1 mouseup 1; }

# answer "TITLE|LABEL|FIELD" TEXT: the box that is open must show these.
answer() {
    local shown
    shown=$(driver answer "$title" "$2") || fail "no box for: $1"
    [ "$shown" = "$1" ] || fail_with_windows "box shows '$shown', expected '$1'"
}
hex="16進数で編集"
text="文字列で編集"

instant_click hex_12
answer "$hex|00000012|12 13 14 15 16 17 18 19" "A1"
expect_bytes 0x12 '\xA1'

held_click hex_25
answer "$hex|00000025|25 26 27 28 29 2A 2B 2C" "B2 B3"
expect_bytes 0x25 '\xB2\xB3'

# A drag selects and opens nothing: the next box is the next click's.
press_move_release drag_from drag_to
instant_click text_53
answer "$text|00000053|STUVWXYZ[\\]^_\`ab" "vuko"
expect_bytes 0x53 'vuko'

# A press on the view released beside the window opens nothing (the view
# selects while the button is held, and the release is not over it).
press_move_release hex_41 outside
instant_click text_6f
answer "$text|0000006F|opqrstuvwxyz{|}~" "!"
expect_bytes 0x6F '!'

# Instant clicks in a row, each with its own box.
instant_click hex_70
answer "$hex|00000070|70 71 72 73 74 75 76 77" "F0"
expect_bytes 0x70 '\xF0'
instant_click hex_77
answer "$hex|00000077|77 78 79 7A 7B 7C 7D 7E" "F7"
expect_bytes 0x77 '\xF7'
instant_click hex_8f
answer "$hex|0000008F|8F 90 91 92 93 94 95 96" "8E"
expect_bytes 0x8F '\x8E'

# The window shows all the view's lines, so the view takes letters: typed
# among the offset digits of a line they push its pairs to the right, and
# where the blank after the pair 01 was, its first digit now shows. A click
# there puts the dump back and opens nothing (in the untouched dump that
# place chooses byte 02), so the next box is the one for the click on 01.
# The driver reads the view's first dump line to see the letters arrive and
# the dump come back.
instant_click digits_00
xdotool type ab
driver wait-top "$title" 000ab000 || fail "the typed letters did not reach the view"
instant_click typed_over_01
driver wait-top "$title" 00000000 || fail "the click did not put the dump back"
instant_click hex_01
answer "$hex|00000001|01 02 03 04 05 06 07 08" "C1"
expect_bytes 0x01 '\xC1'

# In a window too low for all the view's lines the view refuses letters:
# its text stays the dump, and a single click on a pair opens its box. The End
# key comes after the letters, so once the caret is at the line's end the
# letters have been handled.
driver place "$title" 720 250 || fail "cannot make the window low"
mapfile -t low < <(driver points "$title" 1:4 1:14)
[ "${#low[@]}" -eq 2 ] || fail "no click points in the low window: ${low[*]}"
xdotool mousemove --sync ${low[0]} click 1
xdotool type ab
xdotool key End
driver wait-line-end "$title" 1 || fail "the keys did not reach the view"
top=$(driver top "$title")
[ "$top" = "00000000 0" ] || fail_with_windows "the letters reached the low view: its top line shows '$top'"
xdotool mousemove --sync ${low[1]} click 1
answer "$hex|00000001|C1 02 03 04 05 06 07 08" "D1"
expect_bytes 0x01 '\xD1'
driver place "$title" 720 560 || fail "cannot make the window high again"

press_move_release last_from last_to
driver save "$title" || fail "save"
compare_files "the file on disk is not the edited file"
close_vuko
echo "real clicks: all edits reached the file"
