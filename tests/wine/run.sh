#!/bin/sh
# Runs a Windows program under Wine in the build's own prefix:
#   run.sh PREFIX PROGRAM [ARGS...]
# Used as CMake's cross-compiling emulator, so every Windows-side test goes
# through here. Never touches ~/.wine.
prefix=$1
shift
export WINEPREFIX="$prefix"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# Without a display of the caller's, use the Xvfb that prefix.sh started for
# this prefix (its number follows from the prefix path, so that two build
# folders tested at once never share or end each other's display).
if [ -z "${DISPLAY:-}" ]; then
    number="${ZULI_XVFB_DISPLAY:-$((100 + $(printf '%s' "$prefix" | cksum | cut -d' ' -f1) % 400))}"
    export DISPLAY=":$number"
fi
exec wine "$@"
