#!/bin/sh
# Runs a Windows benchmark with the program and its Wine server pinned to one
# processor:
#   bench/win/pinned.sh PROGRAM [ARGS...]
# Each file or profile call is a round trip to the server; on a virtual
# machine with idle processors, a trip between two of them can wait for one
# to wake and cost several times the call. The benchmark's own prefix gets a
# fresh server that inherits the pinning.
set -eu
root="$(cd "$(dirname "$0")/../.." && pwd)"
prefix="$root/build/win64/wineprefix"
program="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"
shift
WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
exec taskset -c 0 "$root/tests/wine/run.sh" "$prefix" "$program" "$@"
