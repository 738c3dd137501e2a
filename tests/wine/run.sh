#!/bin/sh
# Runs a Windows program under Wine in the build's own prefix:
#   run.sh PREFIX PROGRAM [ARGS...]
# Used as CMake's cross-compiling emulator, so every Windows-side test goes
# through here. Never touches ~/.wine. A WINEDEBUG or WINEDLLOVERRIDES of the
# caller's is kept (a trace asked for by hand).
prefix=$1
shift
. "$(dirname "$0")/wine_env.sh"
zuli_wine_env "$prefix" caller
# Without a display of the caller's, use the Xvfb that prefix.sh started for
# this prefix (its number follows from the prefix path, so that two build
# folders tested at once never share or end each other's display).
if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=":$(zuli_test_display "$prefix")"
fi
# Wine's loader now and then gives up before the program starts: status 1,
# nothing printed, a few milliseconds after the start (its address-space
# reservation is refused). A program that ran prints at least its test
# runner's first line, so only that start is made again, once, and said so.
output=$(mktemp)
wine "$@" >"$output" 2>&1
status=$?
if [ "$status" -eq 1 ] && [ ! -s "$output" ]; then
    echo "run.sh: wine ended with status 1 before $1 printed anything; starting it again" >&2
    wine "$@" >"$output" 2>&1
    status=$?
fi
cat "$output"
rm -f "$output"
exit "$status"
