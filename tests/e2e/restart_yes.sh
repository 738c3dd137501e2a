#!/bin/sh
# The restart question answered Yes, end to end:
#   restart_yes.sh PREFIX RESTART_WALKER.EXE
# The restart reaches every program of the Wine prefix, so this test makes a
# throwaway prefix of its own at PREFIX, with its own Xvfb display and
# wineserver, and removes all of it at the end, whatever happens.
# restart_walker.exe (run inside the prefix) builds a patch whose XOR delta
# is deferred to the restart, holds the target open, walks the wizard to the
# restart question and answers Yes when told to; this script checks the
# machine from outside before and after.
set -u
prefix=$1
walker=$2
. "$(dirname "$0")/throwaway_prefix.sh"
use_throwaway_prefix ""
info="$prefix.info"
log="$prefix.walk.log"
walker_pid=

cleanup() {
    [ -n "$walker_pid" ] && kill "$walker_pid" 2>/dev/null
    stop_throwaway_prefix
    rm -rf "$info" "$info.go" "$log"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

# The Windows path C:\... of this prefix as a Unix path.
unix_path() {
    printf '%s' "$1" | sed -e 's|^[Cc]:\\|'"$prefix"'/drive_c/|' -e 's|\\|/|g' -e 's|/$||'
}
info_value() {
    sed -n "s/^$1=//p" "$info" | tr -d '\r'
}
pending_renames() {
    wine reg query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations \
        </dev/null 2>/dev/null | tr -d '\r' | tr 'A-Z' 'a-z' | grep pendingfilerenameoperations
}
patch_running() {
    ps -eo args | grep -F "$patch_name" | grep -v grep >/dev/null
}

rm -rf "$prefix" "$info" "$info.go" "$log"
start_throwaway_prefix
echo "throwaway prefix ready: $prefix (DISPLAY=$DISPLAY)"

wine "$walker" "Z:$info" </dev/null >"$log" 2>&1 &
walker_pid=$!
if ! wait_for 300 test -f "$info"; then
    cat "$log"
    echo "the walker never reached the restart question" >&2
    exit 1
fi
target=$(unix_path "$(info_value target)")
work=$(unix_path "$(info_value work)")
expected=$(info_value expected)
patch_name=$(info_value patch | sed 's|.*\\||')
echo "target $target, working folder $work, patch $patch_name"

# The restart question is on screen: nothing replaced yet, the replacement
# registered for the restart, the wizard's working folder still there.
[ "$(cat "$target")" != "$expected" ] && pass "the target is unchanged before the restart" ||
    fail "the target changed before the restart"
pending=$(pending_renames)
case "$pending" in
*qvr*core.dll*) pass "PendingFileRenameOperations moves the scratch copy over core.dll" ;;
*) fail "no pending rename of core.dll registered: '$pending'" ;;
esac
ls "$(dirname "$target")" | grep -qi '^qvr.*\.tmp$' && pass "the scratch copy waits beside the target" ||
    fail "no QVR scratch copy beside the target"
[ -d "$work" ] && pass "the working folder exists while the wizard runs" || fail "no working folder during the run"
patch_running && pass "the patch is running" || fail "the patch is not running at the restart question"

: >"$info.go"
walker_status=0
wait "$walker_pid" || walker_status=$?
walker_pid=
tr -d '\r' <"$log"
[ "$walker_status" -eq 0 ] && pass "Yes answered and the wizard ended with code 0" ||
    fail "the walker ended with status $walker_status"
wait_for 60 sh -c "! ps -eo args | grep -F '$patch_name' | grep -v grep >/dev/null" &&
    pass "the patch process has ended" || fail "the patch process is still running"
[ ! -e "$work" ] && pass "the working folder is gone" || fail "the working folder $work is still there"

# The restart that the patch requested carries out the pending replacement
# (Wine's restart runs the same step as a start of the system).
if wait_for 60 sh -c "[ \"\$(cat '$target')\" = '$expected' ]"; then
    pass "the restart replaced the target with the new content"
else
    fail "the target does not hold the new content after the restart: '$(cat "$target")'"
fi

# A further start of the system finds nothing left to do.
wine wineboot </dev/null >/dev/null 2>&1
[ "$(cat "$target")" = "$expected" ] && pass "after a new start the target holds the new content" ||
    fail "after a new start the target holds '$(cat "$target")'"
pending=$(pending_renames)
[ -z "$pending" ] && pass "no rename is pending any more" || fail "a rename is still pending: '$pending'"
ls "$(dirname "$target")" | grep -qi '^qvr' && fail "a QVR scratch file is left beside the target" ||
    pass "no scratch file is left beside the target"
# The registry on disk agrees, once the wineserver has written it out.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
if ! grep -q 'Session Manager' "$prefix/system.reg" 2>/dev/null; then
    fail "the prefix's system.reg was not written out"
elif grep -q 'PendingFileRenameOperations' "$prefix/system.reg"; then
    fail "system.reg still holds PendingFileRenameOperations"
else
    pass "system.reg holds no pending rename"
fi

finish
