#!/bin/sh
# Regenerates the committed pictures from the SVG sources of this folder.
# Needs rsvg-convert (Debian package librsvg2-bin) and python3.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
out=$(cd "$here/.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# render TEMPLATE OUTPUT WIDTH HEIGHT INK [NAME SIZE TAGLINE]
render() {
    sed -e "s|@INK@|$5|g" -e "s|@ACCENT@|#f2a33a|g" \
        -e "s|@NAME@|${6:-}|g" -e "s|@SIZE@|${7:-20}|g" -e "s|@TAGLINE@|${8:-}|g" \
        "$here/$1" > "$tmp/picture.svg"
    rsvg-convert -w "$3" -h "$4" -o "$2" "$tmp/picture.svg"
}

light='#17565f'
dark='#e8f1f2'

rsvg-convert -w 256 -h 256 -o "$out/Icon/Icon.png" "$here/icon.svg"
python3 "$here/png2ico.py" "$out/Icon/Icon.png" "$out/Icon/Icon.ico"

for variant in light dark; do
    if [ $variant = light ]; then ink=$light; suffix=''; else ink=$dark; suffix='_w'; fi
    render logo.svg.in "$out/Logo/LogoRU$suffix.png" 141 121 "$ink" 'Кельвейн' 22 'настройка шлюза'
    render logo.svg.in "$out/Logo/LogoEN$suffix.png" 141 121 "$ink" 'Kelvane' 24 'gateway setup'
    render imagedev.svg.in "$out/Logo/ImageDevRU$suffix.png" 141 242 "$ink" 'Кельвейн' 22 'настройка шлюза'
    render imagedev.svg.in "$out/Logo/ImageDevEN$suffix.png" 141 242 "$ink" 'Kelvane' 24 'gateway setup'
    for name in Refresh HidePwd ShowPwd AboutDev LeftSlide RightSlide SendToGW; do
        lower=$(echo $name | tr 'A-Z' 'a-z')
        render "$lower.svg.in" "$out/Pictures/$name$suffix.png" 24 24 "$ink"
    done
done
