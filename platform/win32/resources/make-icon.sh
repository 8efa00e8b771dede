#!/bin/sh
# Makes the program's icon from the artwork's PNG sizes. Run by hand when the artwork changes; the
# build uses the committed tabbern.ico, so that it needs no image tools.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
art="$here/../../qt/resources"
convert "$art/tabbern-16.png" "$art/tabbern-24.png" "$art/tabbern-32.png" "$art/tabbern-48.png" \
    "$here/tabbern.ico"
