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
