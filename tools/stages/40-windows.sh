# The Windows programs: both architectures built with mingw-w64, warning-free, each with
# its .zip; the manifest and version information read out of every .exe; then the x86_64
# ones under Wine (32-bit Wine does not install on these machines):
#  - the tests CTest runs with the label "windows": the Windows-only checks of layout, file
#    and code page, the command lines, and a script whose name lies outside the code page;
#  - every scenario script of the test suite gives the same exit status, output, messages
#    and byte-identical files with tavrix-script.exe as with the native tavrix-script;
#  - tavrix-win32-window-test.exe works tavrix.exe's window with window messages, with the
#    display at 144 and at 96 dots per inch;
#  - a screenshot of the window, kept as build/mingw-x86_64/screenshot.png.
set -euo pipefail
cd "$(dirname "$0")/../.."
source tools/lib.sh
root=$PWD
win=$root/build/mingw-x86_64
native=$root/build/default/tavrix-script

bash tools/build-windows.sh
# The native programs to compare with: those of the g++ stage, built here if it did not run.
cmake --preset default >/dev/null
cmake --build --preset default --target tavrix-script tavrix_sample_archives
# The sprite archives that a script names in its "# archives: ..." line.
archives=$root/build/default/tests/archives
mkdir -p "$archives"
build/default/tests/tavrix_sample_archives "$archives"

echo "--- manifests, version information and the .zip of each architecture"
failures=0
for arch in i686 x86_64; do
    ctest --test-dir "build/mingw-$arch" --output-on-failure -R '^win32\.resources\.' ||
        failures=$((failures + 1))
    zip=$(ls "build/mingw-$arch"/tavrix-*.zip)
    listing=$(cmake -E tar tf "$zip")
    for program in tavrix.exe tavrix-script.exe; do
        grep -q "^tavrix-[^/]*/$program\$" <<<"$listing" ||
            { echo "FAILED: $zip lacks $program"; failures=$((failures + 1)); }
    done
done

mkdir -p build
work=$(mktemp -d "$root/build/windows-work.XXXXXX")
# A prefix of its own, quiet, without the .NET and browser installers, in code page 1252.
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
    LC_ALL=C.UTF-8 LANG=C.UTF-8
unset DISPLAY
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
keep=${TAVRIX_KEEP_WINE_WORK:-}  # set to look at the folders of a failed run afterwards
[ -z "$keep" ] || trap 'wineserver -k 2>/dev/null || true; echo "Folder: $work"' EXIT
echo "Setting up Wine in $WINEPREFIX"
timeout 300 wineboot -i >/dev/null 2>&1

echo "--- Windows tests without a window"
ctest --test-dir "$win" --output-on-failure -L windows -E '^win32\.resources\.' ||
    failures=$((failures + 1))

# Copies the files a run left in FROM to TO, named as Windows names them: a path that
# starts with a drive letter ("c:\intro.def", a plain file name on Linux) under drive_c/,
# and the backslashes of any other name as folders.
collect_linux_files() {
    local from=$1 to=$2 file name
    mkdir -p "$to"
    while IFS= read -r -d '' file; do
        name=${file#"$from"/}
        [ "$name" = script.tvs ] && continue
        if [[ $name =~ ^([A-Za-z]):\\(.*)$ ]]; then
            name="drive_${BASH_REMATCH[1],,}/${BASH_REMATCH[2]}"
        fi
        name=${name//\\//}
        mkdir -p "$(dirname "$to/$name")"
        cp "$file" "$to/$name"
    done < <(find "$from" -type f -print0)
}
collect_windows_files() {
    local from=$1 to=$2
    mkdir -p "$to/drive_c"
    (cd "$from" && find . -type f ! -name script.tvs -exec cp --parents {} "$to" \;)
    find "$WINEPREFIX/drive_c" -maxdepth 1 -type f -exec cp {} "$to/drive_c/" \;
    rmdir "$to/drive_c" 2>/dev/null || true
}

# Runs one script with both programs, each in a fresh folder, and compares what they did.
compare_script() {
    local script=$1 dir=$2 status options named archive
    # The options a scenario script names in its "# options: ..." line.
    read -r -a options <<<"$(sed -n 's/^# options: //p' "$script")"
    mkdir -p "$dir/linux" "$dir/windows"
    # The sprite archives of its "# archives: ..." line (the tests' own, or one beside the
    # script, as the example's), and the files of its "# inputs: ..." line.
    local from here
    here=$(dirname "$script")
    read -r -a named <<<"$(sed -n 's/^# archives: //p' "$script")"
    for archive in "${named[@]}"; do
        from=$archives/$archive
        [ -f "$from" ] || from=$here/$archive
        cp "$from" "$dir/linux/" && cp "$from" "$dir/windows/"
    done
    read -r -a named <<<"$(sed -n 's/^# inputs: //p' "$script")"
    for archive in "${named[@]}"; do
        cp "$here/inputs/$archive" "$dir/linux/" && cp "$here/inputs/$archive" "$dir/windows/"
    done
    cp "$script" "$dir/linux/script.tvs"
    cp "$script" "$dir/windows/script.tvs"
    find "$WINEPREFIX/drive_c" -maxdepth 1 -type f -delete
    status=0
    (cd "$dir/linux" && timeout 60 "$native" "${options[@]}" script.tvs >"$dir/linux.out" 2>"$dir/linux.err") ||
        status=$?
    echo "$status" >"$dir/linux.status"
    status=0
    (cd "$dir/windows" &&
        timeout 60 wine "$win/tavrix-script.exe" "${options[@]}" script.tvs >"$dir/windows.raw" 2>"$dir/windows.rawerr") ||
        status=$?
    echo "$status" >"$dir/windows.status"
    # Text written to the console ends its lines with CR LF on Windows.
    tr -d '\r' <"$dir/windows.raw" >"$dir/windows.out"
    tr -d '\r' <"$dir/windows.rawerr" >"$dir/windows.err"
    collect_linux_files "$dir/linux" "$dir/linux.files"
    collect_windows_files "$dir/windows" "$dir/windows.files"
    local kind ok=1
    for kind in status out err; do
        if ! cmp -s "$dir/linux.$kind" "$dir/windows.$kind"; then
            echo "  $kind differs:"
            diff "$dir/linux.$kind" "$dir/windows.$kind" | head -20 | sed 's/^/    /'
            ok=0
        fi
    done
    if ! diff -r "$dir/linux.files" "$dir/windows.files" >"$dir/files.diff" 2>&1; then
        echo "  files differ:"
        head -20 "$dir/files.diff" | sed 's/^/    /'
        ok=0
    fi
    [ "$ok" = 1 ]
}

echo "--- scripts: tavrix-script.exe against tavrix-script"
mapfile -t scripts < <(find tests examples -name '*.tvs' | sort)
count=0
for script in "${scripts[@]}"; do
    count=$((count + 1))
    if compare_script "$script" "$work/scripts/$count"; then
        echo "same: $script (exit status $(cat "$work/scripts/$count/linux.status"))"
    else
        echo "DIFFERENT: $script"
        failures=$((failures + 1))
    fi
done
echo "${#scripts[@]} scripts compared"

# Runs the window test with the display at the given dots per inch.
window_test() {
    local dpi=$1
    echo "--- the window worked with window messages, at $dpi dpi"
    timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" \
        /f >/dev/null 2>&1
    wineserver -k 2>/dev/null || true  # Wine's desktop must start on the virtual display
    mkdir -p "$work/window-$dpi"
    (cd "$work/window-$dpi" && timeout 240 xvfb-run -a -s "-screen 0 1280x1024x24" bash -c \
        'wine "$1" "$2"; status=$?; wineserver -k 2>/dev/null; exit $status' window-test \
        "$win/tavrix-win32-window-test.exe" "$dpi")
}
window_test 144 || failures=$((failures + 1))
window_test 96 || failures=$((failures + 1))

echo "--- screenshot of the window"
shot=$win/screenshot.png
rm -f "$shot"
if bash tools/screenshot-windows.sh "$shot" "$win/tavrix.exe" &&
    [ "$(convert "$shot" -format '%[fx:w>=630 && h>=575 && standard_deviation>0.05]' info:)" = 1 ]; then
    :
else
    echo "FAILED: the screenshot does not show the window"
    failures=$((failures + 1))
fi

[ "$failures" -eq 0 ]
