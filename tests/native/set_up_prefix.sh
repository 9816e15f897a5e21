# shellcheck shell=bash
# set_up_prefix.sh - sourced by the tests of scripts/wine-run: makes $work
# and in it $prefix, marked as set up for this display with unmanaged
# windows, so that wine-run calls Wine's loader for the program only.
work=$(mktemp -d)
prefix=$work/prefix
mkdir -p "$prefix"
# shellcheck disable=SC2154 # source_dir is set by the test that sources this
printf '%s' "$(cksum <"$source_dir/scripts/wine-prefix-setup")" >"$prefix/.vuko-ready"
printf '%s' "${DISPLAY:-} ${XAUTHORITY:-}" >"$prefix/.vuko-display"
printf N >"$prefix/.vuko-managed"
