#!/bin/bash
# Re-renders the PNG pictures (1x and "@2x") from their SVG sources in
# resources/svg. Run after editing an SVG; the PNGs are committed.
# Each line of resources/svg/sizes.txt: <svg name> <resource folder> <1x width>
# [<1x height>]; without a height the picture is square.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool=$(mktemp -d)/rasterize
g++ -std=c++17 -fPIC -O1 "$root/tools/rasterize.cpp" -o "$tool" \
    $(pkg-config --cflags --libs Qt6Svg Qt6Gui Qt6Core)
export QT_QPA_PLATFORM=offscreen
while read -r name folder width height; do
    [ -z "$name" ] || [ "${name:0:1}" = "#" ] && continue
    height=${height:-$width}
    mkdir -p "$root/resources/$folder"
    "$tool" "$root/resources/svg/$name.svg" "$root/resources/$folder/$name.png" "$width" "$height"
    "$tool" "$root/resources/svg/$name.svg" "$root/resources/$folder/$name@2x.png" \
        $((width * 2)) $((height * 2))
done <"$root/resources/svg/sizes.txt"
rm -rf "$(dirname "$tool")"
