#!/bin/sh
# Installs the Debian packages the build and the tests need (as root, or
# through sudo). Does nothing when they are all present.
set -eu
packages="cmake ninja-build g++ clang libclang-rt-14-dev googletest libbenchmark-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev
  wine wine64 xvfb x11-utils imagemagick cabextract binutils-mingw-w64-i686 locales
  osslsigncode openssl bsdiff xdelta3 xdotool"

# Wine takes a process' ANSI code page from its Unix locale; the tests of
# double-byte path handling run a child under Traditional Chinese (Big5, code
# page 950), which needs that locale compiled.
generate_big5_locale() {
    locale -a 2>/dev/null | grep -qi '^zh_TW\.big5$' && return 0
    command -v localedef >/dev/null 2>&1 || return 0
    echo "generating locale zh_TW.BIG5"
    s=""
    [ "$(id -u)" -ne 0 ] && s="sudo"
    $s localedef -i zh_TW -f BIG5 zh_TW.BIG5 || true
}
trap generate_big5_locale EXIT
missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "installing:$missing"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq $missing
