#!/bin/sh
# Regenerates the program's bitmaps from the drawings beside this script (ImageMagick 6).
# The PNG files are kept in the tree so that a build needs no image tools.
set -e
cd "$(dirname "$0")"

# Icon 101 at the sizes desktops ask for.
for s in 16 24 32 48 64 128 256; do
    convert -background none -density 384 tabbern.svg -resize ${s}x${s} -strip -depth 8 PNG32:tabbern-$s.png
done

# Bitmap 101, the main window's background (260 x 560): a calm vertical gradient, dark where
# white captions sit at the top, light where the detail labels sit at the bottom, with a faint
# diagonal hatch.
tmp=$(mktemp -d)
convert -size 260x140 gradient:'#1e4674'-'#2d5f98' "$tmp/a.png"
convert -size 260x280 gradient:'#2d5f98'-'#cfdeee' "$tmp/b.png"
convert -size 260x140 gradient:'#cfdeee'-'#edf3f9' "$tmp/c.png"
convert "$tmp/a.png" "$tmp/b.png" "$tmp/c.png" -append +repage -depth 8 "$tmp/grad.png"
convert "$tmp/grad.png" -fx '(i+j)%7==0 ? u*0.94+0.06 : u' -strip -depth 8 PNG24:bitmap101.png
rm -r "$tmp"

# Bitmap 104, the find button's face (53 x 20).
convert -background none -density 384 find.svg -resize 53x20 -strip PNG32:bitmap104.png

# Bitmap 102, the dialogs' background (420 x 280): a pale card with rounded corners and a soft
# shadow, set in from the edges so that the window's highlight colour frames it; a bookmark
# ribbon hangs from its top edge at the right, and an etched line sets off the buttons' row.
tmp=$(mktemp -d)
convert -size 404x264 gradient:'#fbfdff'-'#e2ebf5' "$tmp/card.png"
convert "$tmp/card.png" -fx '(i+j)%7==0 ? u*0.985 : u' "$tmp/card.png"
convert -size 404x264 xc:black -fill white -draw "roundrectangle 0,0 403,263 10,10" "$tmp/mask.png"
convert "$tmp/card.png" "$tmp/mask.png" -alpha off -compose CopyOpacity -composite "$tmp/card.png"
convert -size 420x280 xc:'rgba(255,255,255,0)' -fill 'rgba(0,0,40,0.35)' \
    -draw "roundrectangle 8,10 411,273 10,10" -blur 0x3 "$tmp/shadow.png"
convert -size 420x280 xc:none -fill '#2f6db5' -stroke '#1d4a7e' -strokewidth 1 \
    -draw "polygon 372,8 394,8 394,50 383,41 372,50" \
    -fill '#1d4a7e' -stroke none -draw "rectangle 372,8 394,11" "$tmp/ribbon.png"
convert -size 420x280 xc:none -fill '#c3d2e3' -draw "rectangle 24,210 395,210" \
    -fill 'rgba(255,255,255,0.9)' -draw "rectangle 24,211 395,211" "$tmp/line.png"
convert "$tmp/shadow.png" "$tmp/card.png" -geometry +8+8 -composite "$tmp/line.png" -composite \
    "$tmp/ribbon.png" -composite -strip -depth 8 -type TrueColorAlpha \
    -define png:color-type=6 PNG32:bitmap102.png
rm -r "$tmp"

# Bitmaps 107 and 106, the faces of the dialogs' save (115 x 24) and cancel (110 x 24)
# buttons: a light rounded face, a glyph at the left, the word beside it. Shapes are drawn at
# four times the size and reduced; the word is set at its final size so that it stays crisp.
tmp=$(mktemp -d)
convert -size 96x96 xc:none -fill '#2e7d4f' -draw 'circle 48,48 48,18' \
    -fill none -stroke white -strokewidth 8 -draw 'polyline 34,49 44,59 62,37' "$tmp/save.png"
convert -size 96x96 xc:none -fill '#b3403a' -draw 'circle 48,48 48,18' \
    -fill none -stroke white -strokewidth 8 -draw 'line 37,37 59,59' -draw 'line 59,37 37,59' \
    "$tmp/cancel.png"
face() { # width glyph word output
    w=$1
    W=$(($1 * 4))
    convert -size ${W}x96 gradient:'#ffffff'-'#d9e5f2' "$tmp/g.png"
    convert -size ${W}x96 xc:black -fill white -draw "roundrectangle 0,0 $((W - 1)),95 16,16" \
        "$tmp/m.png"
    convert "$tmp/g.png" "$tmp/m.png" -alpha off -compose CopyOpacity -composite -compose Over \
        -fill none -stroke '#6f92b8' -strokewidth 4 -draw "roundrectangle 2,2 $((W - 3)),93 14,14" \
        "$2" -geometry +8+0 -composite -resize ${w}x24 "$tmp/f.png"
    convert "$tmp/f.png" -font DejaVu-Sans-Bold -pointsize 12 -fill '#1d3557' -gravity center \
        -annotate +9+0 "$3" -strip -depth 8 -type TrueColorAlpha -define png:color-type=6 \
        PNG32:"$4"
}
face 115 "$tmp/save.png" Save bitmap107.png
face 110 "$tmp/cancel.png" Cancel bitmap106.png
rm -r "$tmp"
