#!/usr/bin/env bash
# run_refusals_test.sh SOURCE_DIR - scripts/run, from a copy of the scripts in
# a tree of the test's own whose vuko.exe is not built, with stand-ins for
# scripts/setup, CMake and scripts/wine-run that print on standard output
# (as the real set-up and build do):
# - A file that the editor could not open it refuses at once, before it
#   builds anything: a folder, a missing file, a name that code page 932
#   cannot write or would write as another name, a name with a backslash,
#   a name whose Windows form is longer than VUKO opens (260 characters, or
#   511 bytes in code page 932). Such a run must end with status 2, one line
#   on standard error that says what is wrong, and nothing on standard
#   output.
# - Names that VUKO can open, the longest included, scripts/windows-path
#   gives as Wine's programs see them.
# - A preview (no display) builds and then prints the path of its PNG and
#   nothing else on standard output, what the build said going to standard
#   error; the PNG is vuko-NAME.png, NAME cut to whole characters where the
#   folder takes no name so long. The stand-in for wine-run shows a window
#   titled as VUKO's on the run's virtual display.
# Every case runs from its folder with a relative name, as a user types it.
set -uo pipefail
source_dir=$1
work=$(mktemp -d)
tmp_folder=""
cleanup() {
    rm -rf "$work"
    [ -z "$tmp_folder" ] || rm -rf "$tmp_folder"
}
trap cleanup EXIT

# The tree: the real scripts, stand-ins for the rest.
tree=$work/tree
mkdir -p "$tree/scripts/lib" "$tree/bin"
cp "$source_dir/scripts/run" "$source_dir/scripts/windows-path" "$tree/scripts/" &&
    cp "$source_dir/scripts/lib/display.sh" "$tree/scripts/lib/" || { echo "FAIL: cannot copy the scripts"; exit 1; }
cat >"$tree/scripts/setup" <<'EOF'
#!/usr/bin/env bash
echo "stand-in setup: all is there"
EOF
cat >"$tree/bin/cmake" <<'EOF'
#!/usr/bin/env bash
case "$*" in
"--preset windows") mkdir -p build/windows && touch build/windows/CMakeCache.txt &&
    printf 'sources\n' >build/windows/vuko-source-folders.txt && echo "stand-in cmake: configured" ;;
"--build --preset windows --target vuko") touch build/windows/vuko.exe && echo "stand-in cmake: built vuko.exe" ;;
*) echo "stand-in cmake: unexpected arguments: $*" >&2; exit 1 ;;
esac
EOF
# wine-run [--prefix DIR] [--managed] EXE WINDOWS_PATH: a window titled
# "NAME - VUKO" until it is stopped; --stop ends at once. With
# STAND_IN_PREFIX set it only notes the display in the prefix, as Wine's
# run does, and prints the prefix.
cat >"$tree/scripts/wine-run" <<'EOF'
#!/usr/bin/env bash
if [ -n "${STAND_IN_PREFIX:-}" ] && [ "$1" = --prefix ]; then
    printf '%s' "${DISPLAY:-} ${XAUTHORITY:-}" >"$2/.vuko-display"
    echo "prefix $2"
    exit 0
fi
[ "$1" != --prefix ] || shift 2
[ "$1" != --managed ] || shift
[ "$1" != --stop ] || exit 0
echo "stand-in wine-run: $*"
exec display -title "${2##*\\} - VUKO" -size 320x200 xc:gray
EOF
chmod +x "$tree/scripts/"* "$tree/bin/cmake"
export PATH=$tree/bin:$PATH
# The runs see no display: a run that refused nothing ends by itself.
unset DISPLAY XAUTHORITY

# shellcheck source-path=SCRIPTDIR
source "$(dirname "$0")/cases.sh"
show_seen() {
    echo "  status: $status"
    echo "  stdout: $(head -c 600 "$work/out")"
    echo "  stderr: $(head -c 600 "$work/err")"
}

# Names in the tables: \xNN escapes; {TEXT*N} stands for TEXT N times, and
# {C..L} for the character C as many times as make the Windows form of the
# name, in the folder where the case runs, L characters long.
repeat() {
    local s="" i
    for ((i = 0; i < $2; i++)); do s+=$1; done
    printf '%s' "$s"
}
expand() {
    local name folder=$2 LC_ALL=C.UTF-8 head body tail fixed
    name=$(printf '%b' "$1")
    while [[ $name =~ ^(.*)\{([^{}]+)\*([0-9]+)\}(.*)$ ]]; do
        name=${BASH_REMATCH[1]}$(repeat "${BASH_REMATCH[2]}" "${BASH_REMATCH[3]}")${BASH_REMATCH[4]}
    done
    if [[ $name =~ ^(.*)\{(.)\.\.([0-9]+)\}(.*)$ ]]; then
        head=${BASH_REMATCH[1]} body=${BASH_REMATCH[2]} tail=${BASH_REMATCH[4]}
        fixed="Z:$folder/$head$tail"
        [ "${#fixed}" -lt "${BASH_REMATCH[3]}" ] ||
            { echo "FAIL: $folder is too long a folder for the case $1" >&2; exit 1; }
        name=$head$(repeat "$body" $((BASH_REMATCH[3] - ${#fixed})))$tail
    fi
    printf '%s' "$name"
}

# The folders where the cases run: the test's own, and one right under
# /tmp named in Greek capitals only, so that the Windows form holds the
# fewest single-byte characters (Z:\tmp\ and the backslash after it) and a
# name of 260 characters can take 512 bytes in code page 932.
mkdir "$work/cases"
letters=(Α Β Γ Δ Ε Ζ Η Θ Ι Κ)
for _ in 1 2 3 4 5 6 7 8 9 10; do
    id=$(printf '%06d' $(((RANDOM << 15 | RANDOM) % 1000000)))
    candidate=/tmp/$(repeat Ω 120)
    for ((i = 0; i < 6; i++)); do candidate+=${letters[${id:i:1}]}; done
    mkdir "$candidate" 2>/dev/null && { tmp_folder=$candidate; break; }
done
[ -n "$tmp_folder" ] || { echo "FAIL: cannot make a folder of Greek letters in /tmp"; exit 1; }

# WHAT|WHERE|NAME|EXPECTED
#   WHAT      file, folder or nothing: what the test makes under NAME
#   WHERE     cases (the test's own folder) or tmp (the folder under /tmp)
#   EXPECTED  "opens": scripts/windows-path prints the Windows form;
#             otherwise what scripts/run says on standard error
while IFS='|' read -r what where pattern expected; do
    case $where in
    cases) folder=$work/cases ;;
    tmp) folder=$tmp_folder ;;
    esac
    folder=$(realpath "$folder")
    name=$(expand "$pattern" "$folder") || exit 1
    cd "$folder" || exit 1
    mkdir -p "$(dirname "$name")"
    case $what in
    file) printf 'x' >"$name" ;;
    folder) mkdir "$name" ;;
    esac
    status=0
    if [ "$expected" = opens ]; then
        "$tree/scripts/windows-path" "$name" >"$work/out" 2>"$work/err" || status=$?
        windows_form="Z:$folder/$name"
        ok=0
        [ $status -eq 0 ] && [ "$(cat "$work/out")" = "${windows_form//\//\\}" ] && [ ! -s "$work/err" ] && ok=1
        expect "scripts/windows-path $where $pattern: expected status 0, stdout ${windows_form//\//\\}" [ "$ok" -eq 1 ]
    else
        "$tree/scripts/run" "$name" >"$work/out" 2>"$work/err" || status=$?
        ok=0
        [ $status -eq 2 ] && [ ! -s "$work/out" ] && [ "$(wc -l <"$work/err")" -eq 1 ] &&
            grep -qF -- "$expected" "$work/err" && ok=1
        expect "scripts/run $where $pattern: expected status 2, no stdout and one line on stderr with \"$expected\"" [ "$ok" -eq 1 ]
    fi
done <<'CASES'
folder|cases|folder|folder is a folder
nothing|cases|missing.bin|no such file: missing.bin
file|cases|한국.bin|code page 932 cannot write the name
file|cases|euro€.bin|code page 932 cannot write the name
file|cases|latin1-\xe9.bin|code page 932 cannot write the name
file|cases|wave〜.bin|code page 932 cannot write the name
file|cases|back\\slash.bin|holds a backslash
file|cases|{a..261}|is 261 characters long as Windows writes it, and VUKO opens at most 260
file|cases|{a-folder-of-25-characters/*6}{b..261}|is 261 characters long as Windows writes it
file|cases|{見*80}/{見*80}/{見..261}|is 261 characters long as Windows writes it
file|tmp|{Δ..260}|takes 512 bytes in code page 932, and VUKO opens at most 511
file|cases|見本.bin|opens
file|cases|full～.bin|opens
file|cases|two words.bin|opens
file|cases|a:b.bin|opens
file|cases|{a..260}|opens
file|cases|{a-folder-of-25-characters/*6}{b..260}|opens
file|cases|{見*80}/{見*80}/{見..260}|opens
file|tmp|a{Δ..260}|opens
CASES

# Previews, each from a tree whose vuko.exe is not built.
# NAME|the PNG's name
cd "$work/cases" || exit 1
while IFS='|' read -r pattern png_pattern; do
    name=$(expand "$pattern" "") && png_name=$(expand "$png_pattern" "") || exit 1
    printf 'x' >"$name"
    rm -f "$tree/build/windows/vuko.exe"
    status=0
    "$tree/scripts/run" "$name" >"$work/out" 2>"$work/err" || status=$?
    png=$(cat "$work/out")
    ok=0
    # A PNG file starts with the byte 0x89 and "PNG".
    [ $status -eq 0 ] && [ "$(wc -l <"$work/out")" -eq 1 ] && [ "$(basename "$png")" = "$png_name" ] &&
        [ "$(head -c 4 "$png" | tail -c 3)" = PNG ] &&
        grep -qx "stand-in setup: all is there" "$work/err" && grep -qx "stand-in cmake: built vuko.exe" "$work/err" && ok=1
    expect "preview of $pattern: expected status 0, stdout the path of a PNG named $png_name, the build's words on stderr" [ "$ok" -eq 1 ]
    [ ! -f "$png" ] || rm -rf "$(dirname "$png")"
done <<'CASES'
plain.bin|vuko-plain.bin.png
{見*82}.bin|vuko-{見*82}.png
a{見*82}.bin|vuko-a{見*81}.png
100%d [1].bin|vuko-100%d [1].bin.png
CASES

# The exe is current until a file changes in a folder that the build lists
# (the stand-in lists "sources"): then the run builds first.
mkdir -p "$tree/sources"
touch -d '1 hour ago' "$tree/sources/old.cpp" "$tree/sources"
for change in none "a file in a listed folder"; do
    [ "$change" = none ] || touch -d '1 minute' "$tree/sources/new.cpp"
    status=0
    "$tree/scripts/run" plain.bin >"$work/out" 2>"$work/err" || status=$?
    built=no
    grep -qx "stand-in cmake: built vuko.exe" "$work/err" && built=yes
    expected=$([ "$change" = none ] && echo no || echo yes)
    expect "change: $change: expected status 0 and a build: $expected (built: $built)" \
        eval '[ $status -eq 0 ] && [ $built = "$expected" ]'
    [ ! -s "$work/out" ] || rm -rf "$(dirname "$(cat "$work/out")")"
done

# A run on a display prefers a free prefix that the display used last (its
# Wine server may still run there): the first run finds prefix 1 taken and
# takes 2; the second, with both free, takes 2 again.
prefixes=$tree/build/windows
mkdir -p "$prefixes/wineprefix-run-1" "$prefixes/wineprefix-run-2"
for run in first second; do
    [ $run = second ] || { exec 9>"$prefixes/wineprefix-run-1/.vuko-run" && flock -n 9; } ||
        { echo "FAIL: cannot hold prefix 1"; exit 1; }
    status=0
    STAND_IN_PREFIX=yes DISPLAY=:97 "$tree/scripts/run" plain.bin >"$work/out" 2>"$work/err" || status=$?
    [ $run = second ] || exec 9>&-
    expect "the $run run on a display takes prefix 2" \
        eval '[ $status -eq 0 ] && [ "$(cat "$work/out")" = "prefix $prefixes/wineprefix-run-2" ]'
done

end_cases
