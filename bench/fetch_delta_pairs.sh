#!/bin/sh
# Fetches two versions of real Debian programs and libraries (the release
# and the security or point update of bookworm) with apt-get download and
# unpacks the pairs the binary delta benchmark compares:
#   DIR/<name>/old and DIR/<name>/new
# Usage: bench/fetch_delta_pairs.sh [DIR]   (default build/bench/bench/delta-pairs)
# The packages are not kept in the repository; this only needs the network
# when the .deb files are not already in DIR/debs.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build/bench/bench/delta-pairs}
mkdir -p "$dir/debs"
cd "$dir/debs"

# name  package  old-version  new-version  file-inside-the-package
pairs="libcrypto libssl3 3.0.20-1~deb12u2 3.0.22-1~deb12u2 usr/lib/x86_64-linux-gnu/libcrypto.so.3
libssl libssl3 3.0.20-1~deb12u2 3.0.22-1~deb12u2 usr/lib/x86_64-linux-gnu/libssl.so.3
libxml2 libxml2 2.9.14+dfsg-1.3~deb12u4 2.9.14+dfsg-1.3~deb12u6 usr/lib/x86_64-linux-gnu/libxml2.so.2.9.14"

echo "$pairs" | while read -r name package old new file; do
    for v in "$old" "$new"; do
        deb=$(printf '%s_%s_amd64.deb' "$package" "$v" | sed 's/:/%3a/')
        [ -f "$deb" ] || apt-get download "$package=$v"
        mkdir -p "x-$package-$v"
        [ -f "x-$package-$v/$file" ] || dpkg-deb -x "$deb" "x-$package-$v"
    done
    mkdir -p "$dir/$name"
    cp "x-$package-$old/$file" "$dir/$name/old"
    cp "x-$package-$new/$file" "$dir/$name/new"
    echo "pair $name: $package $old -> $new ($file)"
done
