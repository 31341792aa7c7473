#!/bin/bash
# The developer's render tool draws a card side and a whole sheet into PNG
# files of the size their resolution asks for.
set -euo pipefail
source "$(dirname "$0")/lib/harness.sh"
build_dir=$2
out=$work

# Width and height from the PNG header.
png_size() {
    od -An -tu1 -j16 -N8 "$1" | awk '{ printf "%d %d\n", $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8 }'
}

expect_size() {
    local file=$1 width=$2 height=$3
    read -r w h < <(png_size "$file")
    # One pixel of rounding either way.
    if (( w < width - 1 || w > width + 1 || h < height - 1 || h > height + 1 )); then
        fatal "$file is ${w}x${h}, expected about ${width}x${height}"
    fi
}

# A portrait template stands upright: 55 x 85 mm plus 2 mm around, at 10 px/mm.
"$build_dir/cardpng" --layout 111 --dpi 254 "$out/card.png"
expect_size "$out/card.png" 590 890
"$build_dir/cardpng" --folding --back --dpi 254 "$out/folding.png"
expect_size "$out/folding.png" 1740 590
"$build_dir/cardpng" --sheet --dpi 127 "$out/sheet.png"
expect_size "$out/sheet.png" 1050 1485

# Bad input is refused with a message, not drawn.
if "$build_dir/cardpng" --layout 999 "$out/none.png" 2>/dev/null; then
    fatal "an unknown template was accepted"
fi
[[ ! -e "$out/none.png" ]]
