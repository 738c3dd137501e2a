# Sourced by every script that runs Wine for this project: the environment of
# a Wine run in a prefix of its own, the display number, and an Xvfb started
# and waited for. Plain POSIX sh; it sets nothing until a function is called.
#
#   zuli_wine_env PREFIX [caller]
#       Exports WINEPREFIX=PREFIX, WINEARCH=win64, WINEDEBUG=-all and
#       WINEDLLOVERRIDES="mscoree,mshtml=" (no Mono or Gecko installer
#       dialog in a fresh prefix). With "caller", a WINEDEBUG or
#       WINEDLLOVERRIDES the caller set is kept (a trace asked for by hand).
#   zuli_display_number BASE TEXT
#       Prints BASE + (CRC of TEXT) % 400: a display number that follows from
#       a path, so that two build folders never share one.
#   zuli_test_display PREFIX
#       The display of the shared test prefix PREFIX: $ZULI_XVFB_DISPLAY, or
#       100 + a number from PREFIX (prefix.sh starts it, run.sh uses it).
#   zuli_display_up
#       True when the X display $DISPLAY answers.
#   zuli_start_xvfb
#       Starts an Xvfb on $DISPLAY (1024x768x24, no TCP), leaves its process
#       id in xvfb_pid and waits up to 10 s for it to answer; false when it
#       never does (the caller says so and ends).

zuli_wine_env() {
    export WINEPREFIX="$1"
    export WINEARCH=win64
    if [ "${2:-}" = caller ]; then
        export WINEDEBUG="${WINEDEBUG:--all}"
        export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
    else
        export WINEDEBUG=-all
        export WINEDLLOVERRIDES="mscoree,mshtml="
    fi
}

zuli_display_number() {
    echo $(($1 + $(printf '%s' "$2" | cksum | cut -d' ' -f1) % 400))
}

zuli_test_display() {
    echo "${ZULI_XVFB_DISPLAY:-$(zuli_display_number 100 "$1")}"
}

zuli_display_up() {
    xdpyinfo -display "$DISPLAY" >/dev/null 2>&1
}

zuli_start_xvfb() {
    Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    xvfb_pid=$!
    zuli_xvfb_wait=0
    while ! zuli_display_up; do
        zuli_xvfb_wait=$((zuli_xvfb_wait + 1))
        [ "$zuli_xvfb_wait" -gt 100 ] && return 1
        sleep 0.1
    done
    return 0
}
