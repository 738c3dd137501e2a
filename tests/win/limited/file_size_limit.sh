#!/bin/sh
# Runs a command that may write no file beyond a size limit:
#   file_size_limit.sh LIMIT-BYTES BIG-FILE BIG-SIZE COMMAND [ARGS...]
# BIG-FILE is first made BIG-SIZE bytes long, before the limit holds, so the
# command can be given an input larger than anything it may write. Past the
# limit write() then fails with EFBIG, which Wine reports as a failed
# WriteFile; the process is not killed, since SIGXFSZ is ignored and an
# ignored signal stays ignored across exec.
set -eu
limit=$1
big=$2
size=$3
shift 3
mkdir -p "$(dirname "$big")"
head -c "$size" /dev/zero | tr '\0' 'x' >"$big"
trap '' XFSZ
ulimit -f $((limit / 512))
exec "$@"
