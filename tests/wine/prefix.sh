#!/bin/sh
# Sets up and tears down the Wine prefix (and, without a display, an Xvfb)
# that the Windows-side tests share:  prefix.sh start|stop PREFIX
set -u
action=$1
prefix=$2
export WINEPREFIX="$prefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Same display number as run.sh computes for this prefix.
xvfb_display="${ZULI_XVFB_DISPLAY:-$((100 + $(printf '%s' "$prefix" | cksum | cut -d' ' -f1) % 400))}"
xvfb_pid_file="$prefix.xvfb.pid"

start_xvfb() {
    [ -n "${DISPLAY:-}" ] && return 0
    export DISPLAY=":$xvfb_display"
    if xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; then
        return 0
    fi
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    echo $! >"$xvfb_pid_file"
    i=0
    while ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1; do
        i=$((i + 1))
        [ $i -gt 100 ] && { echo "Xvfb did not start on $DISPLAY" >&2; exit 1; }
        sleep 0.1
    done
}

case "$action" in
start)
    start_xvfb
    export DISPLAY="${DISPLAY:-:$xvfb_display}"
    mkdir -p "$(dirname "$prefix")"
    # One wineserver for the whole run, kept alive between test programs.
    # Its output must not hold CTest's pipe open.
    wineserver -p </dev/null >/dev/null 2>&1
    if [ ! -f "$prefix/system.reg" ]; then
        echo "initialising Wine prefix $prefix"
        wine wineboot --init </dev/null >/dev/null 2>&1 || { echo "wineboot failed" >&2; exit 1; }
    fi
    # Make sure the registry is written out before tests look at it.
    wine cmd /c exit 0 </dev/null >/dev/null 2>&1
    echo "Wine prefix ready: $prefix (DISPLAY=$DISPLAY)"
    ;;
stop)
    wineserver -k 2>/dev/null
    if [ -f "$xvfb_pid_file" ]; then
        kill "$(cat "$xvfb_pid_file")" 2>/dev/null
        rm -f "$xvfb_pid_file"
    fi
    exit 0
    ;;
*)
    echo "usage: prefix.sh start|stop PREFIX" >&2
    exit 2
    ;;
esac
