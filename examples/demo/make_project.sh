#!/bin/sh
# Makes the demo patch project from the demo application's two versions:
#   make_project.sh ZULIBUILD.EXE PROJECT
# zulibuild diff compares installed/DemoApp (1.0) with updated/DemoApp (1.1)
# and writes the script and payload into PROJECT (a new folder), starting
# from template/ for the texts, settings, images and cursor. The patch finds
# DemoApp through the registry value the demo installs, will not skip
# app.txt, and records the new version in the registry.
# Runs the builder under Wine, in the caller's WINEPREFIX.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
builder=$1 project=$2
wine "$builder" diff "Z:$here/installed/DemoApp" "Z:$here/updated/DemoApp" "Z:$project" \
    --template "Z:$here/template" \
    --dir Reg --regkey 'HKCU,Software\ZuliDemo\DemoApp,InstallPath' \
    --required app.txt \
    --addreg 'HKCU,Software\ZuliDemo\DemoApp,Version,1,4,1.1'
