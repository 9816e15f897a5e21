#!/usr/bin/env bash
# dpi_layout_test.sh SOURCE_DIR VUKO_EXE DRIVER_EXE PREFIX WORK_DIR
#
# End to end at 96, 144 and 192 dots per inch (Wine's LogPixels setting in
# this test's own prefix): runs vuko.exe on a file of text with double-byte
# characters on a virtual display of its own and checks that the scroll bar
# is as wide as the system's at that scale, that the header and the sixteen
# pairs of every line fit in the view as the window first opens, and that
# the character column lines up with the header's. With VUKO_DPI_SCREENSHOTS
# set to a folder, it also writes a screenshot for each scale there. Every
# wait has a deadline and a failure says what was seen (see real_input.sh).
set -euo pipefail
# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/real_input.sh"
real_input_setup "dpi layout" "$@"

file=$work/layout.bin
# Text with 日本語 and テキスト in code page 932, and control bytes.
printf 'VUKO_dump \x93\xfa\x96\x7b\x8c\xea \x83\x65\x83\x4c\x83\x58\x83\x67 0123456789\r\n\x01\x02 abc_def ABC ~!@#$%%^&*()\r\n' >"$file"
for dpi in 96 144 192; do
    "$wine_run" --prefix "$prefix" reg.exe add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
        /d "$dpi" /f >/dev/null || fail "cannot set $dpi DPI in the prefix"
    # A process takes the scale when it starts; the prefix's Wine starts anew.
    "$wine_run" --prefix "$prefix" --stop || fail "cannot stop the prefix's Wine after setting $dpi DPI"
    start_vuko "$file"
    driver check-layout "$title" || fail "the layout at $dpi DPI is off (see above)"
    if [ -n "${VUKO_DPI_SCREENSHOTS:-}" ]; then
        import -window root "$VUKO_DPI_SCREENSHOTS/main-${dpi}dpi.png" || fail "cannot take the screenshot at $dpi DPI"
    fi
    close_vuko
done
echo "dpi layout: at 96, 144 and 192 DPI the bar, the pairs and the character column are where they belong"
