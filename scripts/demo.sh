#!/bin/sh
# The main job: builds the runtime and the builder for Windows i686 (shipped,
# dist/win32) and x86_64 (dist/win64), then builds the demo patch from the
# shipped runtime with zulibuild under Wine:
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

export WINEPREFIX="$root/dist/demo/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$root/dist/demo"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "demo: initialising the Wine prefix $WINEPREFIX"
    wine wineboot --init </dev/null >/dev/null 2>&1
fi
# The runtime unpacks its payload with the system's cabinet extractor.
if [ ! -f "$WINEPREFIX/drive_c/windows/system32/extrac32.exe" ]; then
    echo "demo: no extrac32.exe in the Wine prefix's system32" >&2
    exit 1
fi

build_patch() {
    runtime=$1 output=$2
    wine "$root/dist/win64/zulibuild.exe" "Z:$root/dist/$runtime/zulirt.exe" \
        "Z:$root/examples/demo/patch" "Z:$root/dist/demo/$output"
}
build_patch win32 DemoPatch.exe
build_patch win64 DemoPatch64.exe
wineserver -w 2>/dev/null || true
ls -l "$root/dist/demo/"*.exe
