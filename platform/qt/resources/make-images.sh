#!/bin/sh
# Regenerates the program's bitmaps from the drawings beside this script (ImageMagick 6).
# The PNG files are kept in the tree so that a build needs no image tools.
set -e
cd "$(dirname "$0")"

# Icon 101 at the sizes desktops ask for.
for s in 16 22 24 32 48 64 128 256; do
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
# The program reads this one, shown at every start, as an uncompressed bitmap: much quicker.
convert bitmap101.png -type TrueColor BMP3:bitmap101.bmp
rm -r "$tmp"

# Bitmap 104, the find button's face (53 x 20).
convert -background none -density 384 find.svg -resize 53x20 -strip PNG32:bitmap104.png

# Bitmaps 102 (420 x 280, the small dialogs and the about box) and 103 (600 x 370, the import
# confirmation): a pale card with rounded corners and a soft shadow, set in from the edges so
# that the window's highlight colour frames it; a bookmark ribbon hangs from its top edge at the
# right, and an etched line 70 pixels above the bottom sets off the buttons' row.
card() { # width height output
    w=$1
    h=$2
    tmp=$(mktemp -d)
    convert -size $((w - 16))x$((h - 16)) gradient:'#fbfdff'-'#e2ebf5' "$tmp/card.png"
    convert "$tmp/card.png" -fx '(i+j)%7==0 ? u*0.985 : u' "$tmp/card.png"
    convert -size $((w - 16))x$((h - 16)) xc:black -fill white \
        -draw "roundrectangle 0,0 $((w - 17)),$((h - 17)) 10,10" "$tmp/mask.png"
    convert "$tmp/card.png" "$tmp/mask.png" -alpha off -compose CopyOpacity -composite "$tmp/card.png"
    convert -size ${w}x${h} xc:'rgba(255,255,255,0)' -fill 'rgba(0,0,40,0.35)' \
        -draw "roundrectangle 8,10 $((w - 9)),$((h - 7)) 10,10" -blur 0x3 "$tmp/shadow.png"
    r=$((w - 48))
    convert -size ${w}x${h} xc:none -fill '#2f6db5' -stroke '#1d4a7e' -strokewidth 1 \
        -draw "polygon $r,8 $((r + 22)),8 $((r + 22)),50 $((r + 11)),41 $r,50" \
        -fill '#1d4a7e' -stroke none -draw "rectangle $r,8 $((r + 22)),11" "$tmp/ribbon.png"
    convert -size ${w}x${h} xc:none -fill '#c3d2e3' -draw "rectangle 24,$((h - 70)) $((w - 25)),$((h - 70))" \
        -fill 'rgba(255,255,255,0.9)' -draw "rectangle 24,$((h - 69)) $((w - 25)),$((h - 69))" \
        "$tmp/line.png"
    convert "$tmp/shadow.png" "$tmp/card.png" -geometry +8+8 -composite "$tmp/line.png" -composite \
        "$tmp/ribbon.png" -composite -strip -depth 8 -type TrueColorAlpha \
        -define png:color-type=6 PNG32:"$3"
    rm -r "$tmp"
}
card 420 280 bitmap102.png
card 600 370 bitmap103.png

# The button faces: a light rounded face, a round glyph at the left, the word beside it.
# Shapes are drawn at four times the size and reduced; the word is set at its final size so
# that it stays crisp.
#   107 save (115 x 24) and 106 cancel (110 x 24) of the small dialogs;
#   105 OK (84 x 22) of the about box;
#   108 import and 109 cancel (68 x 26) of the import confirmation;
#   110 assign, 111 skip and 112 cancel (83 x 26) of the naming of imported links.
tmp=$(mktemp -d)
glyph() { # colour output, then the white strokes
    colour=$1
    out=$2
    shift 2
    convert -size 96x96 xc:none -fill "$colour" -draw 'circle 48,48 48,18' \
        -fill none -stroke white -strokewidth 8 "$@" "$out"
}
glyph '#2e7d4f' "$tmp/save.png" -draw 'polyline 34,49 44,59 62,37'
glyph '#b3403a' "$tmp/cancel.png" -draw 'line 37,37 59,59' -draw 'line 59,37 37,59'
# A tray with an arrow dropping into it.
glyph '#2f6db5' "$tmp/import.png" -draw 'line 48,29 48,55' -draw 'polyline 37,45 48,56 59,45' \
    -draw 'line 35,66 61,66'
# A bookmark ribbon, the program's mark, handed to the link.
glyph '#2f6db5' "$tmp/assign.png" -strokewidth 6 -draw 'polygon 38,32 58,32 58,64 48,55 38,64'
# Two chevrons: on to the next link.
glyph '#6b7f99' "$tmp/skip.png" -draw 'polyline 36,36 46,48 36,60' -draw 'polyline 50,36 60,48 50,60'
face() { # width height glyph word output [point size]
    w=$1
    h=$2
    W=$(($1 * 4))
    H=$(($2 * 4))
    convert -size ${W}x${H} gradient:'#ffffff'-'#d9e5f2' "$tmp/g.png"
    convert -size ${W}x${H} xc:black -fill white -draw "roundrectangle 0,0 $((W - 1)),$((H - 1)) 16,16" \
        "$tmp/m.png"
    # The glyph keeps its size on taller faces and shrinks to fit lower ones.
    G=$((H < 96 ? H : 96))
    convert "$3" -resize ${G}x${G} "$tmp/glyph.png"
    convert "$tmp/g.png" "$tmp/m.png" -alpha off -compose CopyOpacity -composite -compose Over \
        -fill none -stroke '#6f92b8' -strokewidth 4 -draw "roundrectangle 2,2 $((W - 3)),$((H - 3)) 14,14" \
        "$tmp/glyph.png" -geometry +8+$(((H - G) / 2)) -composite -resize ${w}x${h} "$tmp/f.png"
    convert "$tmp/f.png" -font DejaVu-Sans-Bold -pointsize "${6:-12}" -fill '#1d3557' -gravity center \
        -annotate +9+0 "$4" -strip -depth 8 -type TrueColorAlpha -define png:color-type=6 \
        PNG32:"$5"
}
face 115 24 "$tmp/save.png" Save bitmap107.png
face 110 24 "$tmp/cancel.png" Cancel bitmap106.png
face 84 22 "$tmp/save.png" OK bitmap105.png
face 68 26 "$tmp/import.png" Import bitmap108.png 10
face 68 26 "$tmp/cancel.png" Cancel bitmap109.png 10
face 83 26 "$tmp/assign.png" Assign bitmap110.png
face 83 26 "$tmp/skip.png" Skip bitmap111.png
face 83 26 "$tmp/cancel.png" Cancel bitmap112.png
rm -r "$tmp"
