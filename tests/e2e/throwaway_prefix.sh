# Sourced by the end-to-end scripts that need a Wine prefix of their own
# (a restart reaches every program of a prefix; a signed patch is tried on a
# fresh install): its own Xvfb display and wineserver, all removed at the
# end. The script sets `prefix` and calls use_throwaway_prefix with a text
# that sets its display apart, then start_throwaway_prefix; its cleanup
# calls stop_throwaway_prefix. Also the checks' tally: pass, fail, finish.
# The Wine environment and the Xvfb start are the shared ones of
# tests/wine/wine_env.sh (the sourcing script lives beside this file).
. "$(dirname "$0")/../wine/wine_env.sh"

failures=0
fail() {
    printf 'FAIL: %s\n' "$*"
    failures=$((failures + 1))
}
pass() { printf 'ok:   %s\n' "$*"; }
# Ends the script by the tally.
finish() {
    if [ "$failures" -ne 0 ]; then
        echo "$failures check(s) failed"
        exit 1
    fi
    echo "all checks passed"
}

# Waits up to $1 seconds for the command after it to succeed.
wait_for() {
    limit=$1
    shift
    i=0
    while ! "$@"; do
        i=$((i + 1))
        [ "$i" -gt $((limit * 10)) ] && return 1
        sleep 0.1
    done
}

# The environment of the prefix at $prefix, with a display of its own
# (never the caller's or the shared prefix's), numbered from the prefix
# path and $1.
use_throwaway_prefix() {
    zuli_wine_env "$prefix"
    export DISPLAY=":$(zuli_display_number 500 "$prefix$1")"
    xvfb_pid=
}

# The display, then the prefix. The display must be there before Wine first
# starts in the prefix, or the desktop process gets no display driver and no
# window can ever open.
start_throwaway_prefix() {
    mkdir -p "$(dirname "$prefix")"
    if zuli_display_up; then
        echo "display $DISPLAY is taken by someone else" >&2
        exit 1
    fi
    zuli_start_xvfb || { echo "Xvfb did not start on $DISPLAY" >&2; exit 1; }
    wine wineboot --init </dev/null >/dev/null 2>&1 || { echo "wineboot --init failed" >&2; exit 1; }
}

stop_throwaway_prefix() {
    wineserver -k 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$prefix"
}
