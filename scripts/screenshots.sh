#!/bin/sh
# Screenshots of every page of the demo patch's wizard, for checking the
# dialog's look against its template by eye:
#   scripts/screenshots.sh [BUILD_DIR] [OUT_DIR]
# BUILD_DIR is a win64 build folder whose dist holds zulirt.exe and
# zulibuild.exe (default build/win64); pictures go to OUT_DIR (default
# build/screenshots) as page-01.png, page-02.png, ... It runs its own Xvfb
# and uses BUILD_DIR's Wine prefix. The wizard is walked as a user would:
# Enter presses Next (the default button); where the focus has left it,
# Alt+N presses "&Next >" and Alt+F "&Finish"; Alt+A ticks "I &agree" on
# the agreement page.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build/win64}" && pwd)
out=${2:-$here/build/screenshots}
dist="$here/dist/win64"
display=":${ZULI_SHOT_DISPLAY:-91}"
mkdir -p "$out"
out=$(cd "$out" && pwd)

# The Wine environment and the Xvfb start shared with the tests' scripts.
. "$here/tests/wine/wine_env.sh"
zuli_wine_env "$build/wineprefix"
export DISPLAY="$display"
work=$(mktemp -d /tmp/zuli-shots.XXXXXX)

xvfb_pid=
cleanup() {
    [ -n "${patch_pid:-}" ] && kill "$patch_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
zuli_start_xvfb || { echo "Xvfb did not start" >&2; exit 1; }
[ -f "$WINEPREFIX/system.reg" ] || wine wineboot --init >/dev/null 2>&1

# The demo patch, and the application it patches, installed where its
# registry key says.
"$here/examples/demo/make_project.sh" "$dist/zulibuild.exe" "$work/patch" >"$work/diff.log" 2>&1 || {
    cat "$work/diff.log" >&2; exit 1; }
cp -r "$here/examples/demo/installed/DemoApp" "$work/DemoApp"
wine reg add 'HKCU\Software\ZuliDemo\DemoApp' /v InstallPath /d "Z:$(echo "$work/DemoApp" | tr / '\\')" /f \
    >/dev/null 2>&1
wine "$dist/zulibuild.exe" "$dist/zulirt.exe" "Z:$work/patch/patch.ini" "Z:$work/demo.exe" >"$work/build.log" 2>&1 || {
    cat "$work/build.log" >&2; exit 1; }

wine "$work/demo.exe" >/dev/null 2>&1 &
patch_pid=$!

# The wizard's window: a Wine top-level window whose title names the patch.
wizard() { xdotool search --onlyvisible --name "DemoApp" 2>/dev/null | head -n 1; }
i=0
until [ -n "$(wizard)" ]; do
    i=$((i + 1)); [ $i -gt 300 ] && { echo "the wizard did not appear" >&2; exit 1; }
    sleep 0.1
done
sleep 1

page=1
last_title=""
while [ $page -le 20 ]; do
    window=$(wizard)
    [ -z "$window" ] && break
    title=$(xdotool getwindowname "$window")
    name=$(printf 'page-%02d.png' $page)
    import -window root "$out/$name"
    echo "$name: $title"
    last_title=$title
    xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus "$window" || true
    sleep 0.3
    # The agreement page waits for "I agree".
    xdotool key alt+a 2>/dev/null || true
    sleep 0.3
    for key in Return alt+n alt+f; do
        window=$(wizard)
        [ -n "$window" ] && [ "$(xdotool getwindowname "$window")" = "$last_title" ] || break
        xdotool key $key
        sleep 0.7
    done
    # Wait for the next page (or the end, or a message box).
    i=0
    while [ $i -lt 100 ]; do
        sleep 0.2
        window=$(wizard)
        [ -z "$window" ] && break
        [ "$(xdotool getwindowname "$window")" != "$last_title" ] && break
        i=$((i + 1))
    done
    [ $i -ge 100 ] && { echo "stopped on \"$last_title\" (a message box or a page that does not move on)"; \
                        import -window root "$out/$(printf 'page-%02d-stuck.png' $page)"; break; }
    page=$((page + 1))
    sleep 0.5
done
echo "screenshots in $out"
