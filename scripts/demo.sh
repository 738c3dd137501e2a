#!/bin/sh
# The main job: builds the runtime and the builder for Windows i686 (shipped,
# dist/win32) and x86_64 (dist/win64), makes the demo patch project with
# "zulibuild diff" from the demo application's two versions
# (examples/demo/make_project.sh, into dist/demo/project), then builds the
# demo patch from it with zulibuild under Wine:
#   dist/demo/DemoPatch.exe     (from dist/win32/zulirt.exe, to ship)
#   dist/demo/DemoPatch64.exe   (from dist/win64/zulirt.exe, runs under wine64)
# The Wine prefix is dist/demo/wineprefix (never ~/.wine). Build folders are
# build/win32 and build/win64, or under $ZULI_BUILD_ROOT when set.
set -eu
cd "$(dirname "$0")/.."
root=$(pwd)
scripts/install-deps.sh

for preset in win32 win64; do
    dir="${ZULI_BUILD_ROOT:-$root/build}/$preset"
    cmake --preset "$preset" -B "$dir" >/dev/null
    cmake --build "$dir" --target zulirt zulibuild
done
# The unattended user that walks the wizard (a Windows console program).
win64_dir="${ZULI_BUILD_ROOT:-$root/build}/win64"
cmake --build "$win64_dir" --target demo_walker

# The Wine environment and the Xvfb start shared with the tests' scripts.
. "$root/tests/wine/wine_env.sh"
zuli_wine_env "$root/dist/demo/wineprefix"
# A fresh prefix every time: the demo application is installed anew and
# nothing of an earlier run (patched files, registry values) is left.
rm -rf "$WINEPREFIX"
mkdir -p "$root/dist/demo"
# The display must exist before Wine first starts in the prefix: the desktop
# process that wineboot leaves running would otherwise have no display driver
# and no window of the patch could ever open.
# A display: the caller's, or an Xvfb of our own.
xvfb_pid=
if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=":${ZULI_DEMO_DISPLAY:-78}"
    zuli_start_xvfb || { echo "demo: Xvfb did not start" >&2; exit 1; }
fi
cleanup() {
    wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "demo: initialising the Wine prefix $WINEPREFIX"
    wine wineboot --init </dev/null >/dev/null 2>&1
fi
# The runtime unpacks its payload with the system's cabinet extractor.
if [ ! -f "$WINEPREFIX/drive_c/windows/system32/extrac32.exe" ]; then
    echo "demo: no extrac32.exe in the Wine prefix's system32" >&2
    exit 1
fi

# The project: everything that differs between DemoApp 1.0 and 1.1.
project="$root/dist/demo/project"
rm -rf "$project" "$project.partial"
"$root/examples/demo/make_project.sh" "$root/dist/win64/zulibuild.exe" "$project"

build_patch() {
    runtime=$1 output=$2
    wine "$root/dist/win64/zulibuild.exe" "Z:$root/dist/$runtime/zulirt.exe" \
        "Z:$project" "Z:$root/dist/demo/$output"
}
build_patch win32 DemoPatch.exe
build_patch win64 DemoPatch64.exe
ls -l "$root/dist/demo/"*.exe


# Install the demo application: its files under C:\DemoApp and its folder in
# the registry, where the patch looks it up.
app="$WINEPREFIX/drive_c/DemoApp"
mkdir -p "$app"
cp -r "$root/examples/demo/installed/DemoApp/." "$app/"
wine reg add 'HKCU\Software\ZuliDemo\DemoApp' /v InstallPath /t REG_SZ /d 'C:\DemoApp' /f >/dev/null 2>&1
echo "demo: DemoApp 1.0 installed in C:\\DemoApp of $WINEPREFIX"

# Run the patch and walk its wizard; a screenshot of every page.
shots="$root/dist/demo/screenshots"
rm -rf "$shots"
mkdir -p "$shots"
log="$root/dist/demo/walk.log"
wine "$win64_dir/wintests/demo_walker.exe" "Z:$root/dist/demo/DemoPatch64.exe" "Z:$shots" >"$log" 2>&1 &
walker=$!
while kill -0 "$walker" 2>/dev/null; do
    for request in "$shots"/*-request; do
        [ -e "$request" ] || continue
        n=$(basename "$request" -request)
        sleep 0.3  # let the page finish drawing
        import -window root "$shots/page-$n.png" 2>/dev/null || echo "demo: screenshot $n failed" >&2
        rm -f "$request"
    done
    sleep 0.2
done
walk_status=0
wait "$walker" || walk_status=$?
tr -d '\r' <"$log"

# Were the application's files patched? INI files must hold the same
# sections, keys and values in the same order; their blank lines and line
# ends are the profile writer's business. Every other file byte for byte.
same_content() {
    case "$1" in
    *.ini)
        [ -f "$2" ] && [ "$(tr -d '\r' <"$1" | grep -v '^[[:space:]]*$')" = \
                         "$(tr -d '\r' <"$2" | grep -v '^[[:space:]]*$')" ]
        ;;
    *) cmp -s "$1" "$2" ;;
    esac
}
echo "demo: checking C:\\DemoApp against the expected 1.1 files"
failed=0
for expected in $(cd "$root/examples/demo/updated/DemoApp" && find . -type f | sort); do
    if same_content "$root/examples/demo/updated/DemoApp/$expected" "$app/$expected"; then
        echo "  patched:  $expected"
    else
        echo "  WRONG:    $expected"; failed=1
    fi
done
if [ -e "$app/obsolete.txt" ]; then echo "  WRONG:    obsolete.txt still there"; failed=1
else echo "  removed:  obsolete.txt"; fi
version=$(wine reg query 'HKCU\Software\ZuliDemo\DemoApp' /v Version 2>/dev/null | tr -d '\r' | grep Version || true)
echo "  registry: ${version:-Version missing}"
[ -n "$version" ] || failed=1
for left in "$WINEPREFIX/drive_c/users/${USER:-$(id -un)}/Temp/"ZuliTmp*; do
    if [ -e "$left" ]; then echo "  WRONG:    the working folder $left is still there"; failed=1; fi
done
echo "demo: screenshots of every page in $shots"
ls "$shots"
if [ "$walk_status" -ne 0 ] || [ "$failed" -ne 0 ]; then
    echo "demo: FAILED" >&2
    exit 1
fi
echo "demo: the patch was applied"
