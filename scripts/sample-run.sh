#!/bin/sh
# Lays a fresh copy of the built sample program folder at DIR, with its settings
# pointing into DIR itself.
set -eu
[ $# -eq 2 ] || { echo "usage: $0 BUILT_SAMPLE_FOLDER DIR" >&2; exit 2; }
rm -rf "$2"
cp -a "$1" "$2"
target=$(cd "$2" && pwd)
for file in "$target"/*.txt; do
    sed -i "s|@FOLDER@|$target|g" "$file"
done
