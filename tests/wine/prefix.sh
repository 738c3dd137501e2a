#!/bin/sh
# Sets up and tears down the Wine prefix (and, without a display, an Xvfb)
# that the Windows-side tests share:  prefix.sh start|stop PREFIX
set -u
action=$1
prefix=$2
. "$(dirname "$0")/wine_env.sh"
zuli_wine_env "$prefix"
# Same display number as run.sh uses for this prefix.
xvfb_display=$(zuli_test_display "$prefix")
xvfb_pid_file="$prefix.xvfb.pid"

start_xvfb() {
    [ -n "${DISPLAY:-}" ] && return 0
    export DISPLAY=":$xvfb_display"
    zuli_display_up && return 0
    started=0
    zuli_start_xvfb || started=1
    # Written either way, so that stop ends an Xvfb that never answered too.
    echo "$xvfb_pid" >"$xvfb_pid_file"
    [ "$started" -eq 0 ] || { echo "Xvfb did not start on $DISPLAY" >&2; exit 1; }
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
