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
# Without a display of the caller's, use the Xvfb that prefix.sh started.
export DISPLAY="${DISPLAY:-:${ZULI_XVFB_DISPLAY:-77}}"
exec wine "$@"
