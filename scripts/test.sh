#!/bin/sh
# The test command: installs what is missing, builds all targets (Linux
# native under the sanitizers, the fuzzers, the benchmarks, Windows i686 and
# x86_64) and runs every test: native, fuzz, and under Wine the Windows-side
# and end-to-end tests.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
for preset in native fuzz; do
    cmake --workflow --preset "$preset"
done
cmake --workflow --preset bench
cmake --workflow --preset win32
cmake --workflow --preset win64
