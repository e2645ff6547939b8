#!/bin/sh
# Regenerates the committed launcher icons of the hicolor theme from the
# program's SVG icon. Needs rsvg-convert (Debian package librsvg2-bin).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
source="$here/../resources/src/icon.svg"

for size in 16 24 32 48 64 128 256; do
    dir="$here/icons/hicolor/${size}x$size/apps"
    mkdir -p "$dir"
    rsvg-convert -w $size -h $size -o "$dir/example.tyrnholm.kelvane.png" "$source"
done
