#!/usr/bin/env bash
# Renders Quenmar's pictures into src/app/res with ImageMagick, at 100, 125,
# 150 and 200 percent (name.bmp, name-125.bmp, ...): the program shows the
# one drawn for its window's scale. The drawing commands below, in 100-percent
# pixels, are the pictures' sources: change them and run this again.
# The motif: the Places Bar itself, a column of five places, one of them lit.
set -euo pipefail
cd "$(dirname "$0")/../src/app/res"

BLUE='#2f5f9e'; LIGHT='#6a8df4'; GOLD='#ffc73c'; GREEN='#21a121'; WHITE='#ffffff'; KEY='#ff00ff'
FONT=DejaVu-Sans-Bold

# The mark: a rounded tile holding a column of five places, the third lit.
# Drawn four times over and reduced, so that it is sharp at any size.
mark() {  # size output
    local s=$1 out=$2
    convert -size 384x384 xc:none -affine 4,0,0,4,0,0 \
        -fill "$BLUE" -draw 'roundrectangle 4,4 91,91 16,16' \
        -fill "$LIGHT" -draw 'roundrectangle 14,12 40,84 6,6' \
        -fill "$WHITE" -draw 'roundrectangle 19,17 35,27 3,3' -draw 'roundrectangle 19,31 35,41 3,3' \
        -fill "$GOLD" -draw 'roundrectangle 19,45 35,55 3,3' \
        -fill "$WHITE" -draw 'roundrectangle 19,59 35,69 3,3' -draw 'roundrectangle 19,73 35,79 2,2' \
        -fill "$GOLD" -draw 'polygon 48,36 62,36 66,42 84,42 84,78 48,78' \
        -fill '#f5d77a' -draw 'polygon 48,48 84,48 84,78 48,78' \
        -resize "${s}x${s}" "$out"
}

icons=()
for s in 16 20 24 32 40 48 64; do
    mark "$s" "/tmp/quenmar-$s.png"
    icons+=("/tmp/quenmar-$s.png")
done
convert "${icons[@]}" Quenmar.ico

# Glyphs are drawn smooth on a clear canvas, then given the mask colour where
# they are less than half covered and, elsewhere, their colour over the face
# they are shown on. Drawn straight onto the mask colour, their smoothed edges
# would carry a tint of it that no mask takes away.
masked() {  # drawing face output
    local drawing=$1 face=$2 out=$3 size
    size=$(identify -format '%wx%h' "$drawing")
    convert "$drawing" -background "$face" -flatten /tmp/quenmar-glyph-colour.png
    convert "$drawing" -alpha extract -threshold 50% /tmp/quenmar-glyph-mask.png
    convert -size "$size" xc:"$KEY" /tmp/quenmar-glyph-colour.png /tmp/quenmar-glyph-mask.png -composite \
        -type truecolor "BMP3:$out"
}

for scale in 100 125 150 200; do
    px() { echo $((($1 * scale + 50) / 100)); }
    f=$(awk "BEGIN { print $scale / 100 }")
    affine="$f,0,0,$f,0,0"
    name() { [ "$scale" -eq 100 ] && echo "$1.bmp" || echo "$1-$scale.bmp"; }

    # Main window logo, 72 x 72, on the window colour.
    mark "$(px 72)" /tmp/logo72.png
    convert -size "$(px 72)x$(px 72)" xc:"$WHITE" /tmp/logo72.png -composite -type truecolor "BMP3:$(name logo72)"

    # About logo, 96 x 96, 24 bits; white around it is drawn transparent.
    mark "$(px 96)" /tmp/logo96.png
    convert -size "$(px 96)x$(px 96)" xc:"$WHITE" /tmp/logo96.png -composite -type truecolor \
        "BMP3:$(name about-logo)"

    # Banner, 220 x 45: the name beside a small mark, on a soft gradient. The
    # program writes its tagline beneath the name, in the user's language.
    mark "$(px 37)" /tmp/banner-mark.png
    convert -size "$(px 220)x$(px 45)" gradient:'#ffffff'-'#e8eefc' \
        /tmp/banner-mark.png -geometry "+$(px 4)+$(px 4)" -composite \
        -font "$FONT" -pointsize "$(awk "BEGIN { print 21 * $f }")" -fill "$BLUE" -annotate "+$(px 48)+$(px 25)" 'Quenmar' \
        -type truecolor "BMP3:$(name banner)"

    # The hint icon before "You may also drag and drop...": a folder with an arrow.
    convert -size "$(px 16)x$(px 16)" xc:"$WHITE" -affine "$affine" \
        -fill "$GOLD" -stroke '#a07810' -draw 'polygon 1,4 6,4 7,6 14,6 14,14 1,14' -stroke none \
        -fill "$GREEN" -draw 'polygon 8,0 15,0 15,7 13,5 10,8 8,6 11,3' \
        -type truecolor "BMP3:$(name hint)"

    # Button glyphs, 16 x 16 each: browse, preview, restore, about, up, down,
    # change folder. Shown on the buttons' face colour.
    convert -size "$(px 112)x$(px 16)" xc:none -affine "$affine" \
        -fill "$GOLD" -stroke '#a07810' -draw 'polygon 1,4 6,4 7,6 12,6 12,13 1,13' -stroke none \
        -fill none -stroke "$BLUE" -strokewidth 2 -draw 'circle 11,9 14,9' -draw 'line 13,12 14.5,14.5' \
        -strokewidth 1 -stroke none \
        -fill "$WHITE" -stroke "$BLUE" -draw 'rectangle 17,2 30,13' -stroke none -fill "$LIGHT" -draw 'rectangle 18,3 29,5' \
        -fill "$GOLD" -draw 'rectangle 19,7 21,12' -fill '#c0c0c0' -draw 'rectangle 23,7 28,8' -draw 'rectangle 23,10 28,11' \
        -fill none -stroke "$GREEN" -strokewidth 2 -draw 'arc 34,2 46,14 200,500' -strokewidth 1 -stroke none \
        -fill "$GREEN" -draw 'polygon 33,3 38,3 35,7' \
        -fill "$BLUE" -draw 'circle 56,8 56,1' -fill "$WHITE" -draw 'rectangle 55,6 57,12' -draw 'rectangle 55,3 57,4' \
        -fill "$BLUE" -draw 'polygon 72,2 78,9 74,9 74,14 70,14 70,9 66,9' \
        -fill "$BLUE" -draw 'polygon 88,14 94,7 90,7 90,2 86,2 86,7 82,7' \
        -fill "$GOLD" -stroke '#a07810' -draw 'polygon 97,4 102,4 103,6 110,6 110,14 97,14' -stroke none \
        -fill "$BLUE" -draw 'circle 101,10 102,10' -draw 'circle 104,10 105,10' -draw 'circle 107,10 108,10' \
        /tmp/quenmar-glyphs.png
    masked /tmp/quenmar-glyphs.png '#f4f4f0' "$(name glyphs)"

    # The folder picker's tool buttons: new folder, its disabled form, delete,
    # its disabled form. Shown on the button face.
    convert -size "$(px 64)x$(px 16)" xc:none -affine "$affine" \
        -fill '#e8b830' -stroke '#8a6a10' -draw 'polygon 1,5 6,5 7,7 13,7 13,14 1,14' -stroke none \
        -fill '#e02020' -draw 'polygon 12,0 13,3 16,3 13,5 14,8 12,6 10,8 11,5 8,3 11,3' \
        -fill '#c8c8c8' -stroke '#808080' -draw 'polygon 17,5 22,5 23,7 29,7 29,14 17,14' -stroke none \
        -fill '#ffffff' -draw 'polygon 28,0 29,3 32,3 29,5 30,8 28,6 26,8 27,5 24,3 27,3' \
        -stroke '#d01010' -strokewidth 2 -draw 'line 35,3 45,13' -draw 'line 45,3 35,13' \
        -stroke '#ffffff' -draw 'line 52,4 62,14' -draw 'line 62,4 52,14' \
        -stroke '#909090' -draw 'line 51,3 61,13' -draw 'line 61,3 51,13' \
        /tmp/quenmar-picker-glyphs.png
    masked /tmp/quenmar-picker-glyphs.png '#f0f0f0' "$(name picker-glyphs)"
done

# The About window's texture: 2 x 4, two rows of 231 grey over two of 238.
convert -size 2x4 xc:'rgb(238,238,238)' -fill 'rgb(231,231,231)' -draw 'rectangle 0,0 1,1' texture.gif

echo "rendered into $(pwd)"
