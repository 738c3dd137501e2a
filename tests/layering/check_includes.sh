#!/bin/sh
# The layers of the runtime, from the top: app, wizard, actions, script,
# core. A file may include its own layer and those below it, never one
# above; and code in a neutral folder never includes the Windows headers,
# so that it builds and is tested on any platform.
#   check_includes.sh [SOURCE_ROOT]   (default: the src folder beside tests/)
# Prints each include that breaks a rule and exits 1 when there is any.
set -eu
root="${1:-$(dirname "$0")/../../src}"
cd "$root"
find . -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.rc' \) | sort | awk '
    BEGIN { rank["core"] = 0; rank["script"] = 1; rank["actions"] = 2; rank["wizard"] = 3; rank["app"] = 4 }
    {
        path = substr($0, 3)
        split(path, part, "/")
        layer = part[1]
        neutral = (path ~ /\/neutral\//)
        line = 0
        while ((getline text < $0) > 0) {
            line++
            if (text !~ /^[ \t]*#[ \t]*include/) continue
            if (neutral && tolower(text) ~ /<(windows|winbase|winuser|winreg|windef|shlwapi|shlobj|shellapi|commctrl|objbase)\.h>/) {
                printf "%s:%d: a neutral file includes a Windows header: %s\n", path, line, text
                bad++
            }
            if (!(layer in rank)) continue
            if (match(text, /"[a-z]+\//)) {
                target = substr(text, RSTART + 1, RLENGTH - 2)
                if ((target in rank) && rank[target] > rank[layer]) {
                    printf "%s:%d: %s includes from %s, a layer above it: %s\n", path, line, layer, target, text
                    bad++
                }
            }
        }
        close($0)
    }
    END {
        if (bad) { printf "%d include(s) against the layer rule (app > wizard > actions > script > core)\n", bad; exit 1 }
        print "layer rule kept: app > wizard > actions > script > core; neutral code free of Windows headers"
    }'
