#!/usr/bin/env bash
# Makes the wizard's pictures, icon and stored licence text from scratch.
# Our own artwork: plain shapes and type, drawn with ImageMagick. Run it after
# changing the look or the licence; its outputs are committed beside it.
set -euo pipefail
cd "$(dirname "$0")"

IM=/usr/bin/convert
FONT=DejaVu-Sans
BOLD=DejaVu-Sans-Bold
RED='#B11314'
FRAME='#D2D2D2'
JPEG=(-strip -quality 88 -interlace Plane)

# A red slanted button face under a label box: x y w h.
face() {
  local x=$1 y=$2 w=$3 h=$4 colour=${5:-$RED}
  local l=$((x - 3)) t=$((y - 1)) r=$((x + w + 3)) b=$((y + h + 1))
  echo "-fill '$colour' -stroke none -draw \"polygon $((l + 7)),$t $r,$t $((r - 7)),$b $l,$b\""
}
frame() {  # one thin panel: left top right bottom
  echo "-fill none -stroke '$FRAME' -strokewidth 1 -draw \"rectangle $1,$2 $3,$4\""
}
logo() {  # the Vestora mark and wordmark at x y
  local x=$1 y=$2
  echo "-stroke none -fill '$RED' -draw \"polygon $((x + 6)),$y $((x + 22)),$y $((x + 16)),$((y + 24)) $x,$((y + 24))\"" \
       "-fill '#555555' -font $BOLD -pointsize 19 -draw \"text $((x + 28)),$((y + 20)) 'Vestora'\"" \
       "-fill '$RED' -font $FONT -pointsize 19 -draw \"text $((x + 113)),$((y + 20)) 'Editor'\""
}
page() {  # output, then drawing arguments
  local out=$1; shift
  eval "$IM -size 600x338 xc:white $* ${JPEG[*]} $out"
}

page eula.jpg "$(frame 33 89 575 268)" "$(logo 32 290)" "$(face 250 287 188 28)" "$(face 452 287 114 28)"
page install.jpg "$(frame 158 122 562 252)" \
  "-fill none -stroke '#B4B4B4' -draw \"rectangle 170,158 542,195\"" \
  "$(logo 32 290)" "$(face 322 287 114 28)" "$(face 452 286 114 29)"
page opinstall.jpg "$(frame 72 84 298 174)" "$(frame 305 84 528 174)" "$(frame 72 184 298 274)" \
  "$(frame 305 184 528 274)" "$(face 481 286 85 28)"
page reboot.jpg "$(face 481 286 85 28)"

$IM -size 373x38 "xc:$RED" "${JPEG[@]}" progress.jpg
$IM -size 373x38 'xc:#D9D9D9' "${JPEG[@]}" progress-grey.jpg
eval "$IM -size 118x32 xc:white $(face 3 1 112 30 '#B4B4B4') ${JPEG[*]} install-hl.jpg"

# Component logos (the a pictures) and codec-pack logos (the b pictures).
$IM -size 62x21 xc:white -fill '#2E7D32' -font "$BOLD" -pointsize 17 -gravity center -annotate +0+0 'DX' \
  "${JPEG[@]}" opinst1a.jpg
$IM -size 58x58 xc:white -fill '#EF6C00' -draw 'circle 29,29 29,3' -fill white \
  -draw 'polygon 22,17 22,41 42,29' "${JPEG[@]}" opinst2a.jpg
$IM -size 55x55 xc:white -fill '#C62828' -draw 'roundrectangle 3,3 51,51 9,9' -fill white -font "$BOLD" \
  -pointsize 34 -gravity center -annotate +0+2 'f' "${JPEG[@]}" opinst3a.jpg
$IM -size 60x59 xc:white -fill '#1565C0' -draw 'circle 30,29 30,3' -fill white -font "$BOLD" -pointsize 30 \
  -gravity center -annotate +0+0 'Q' "${JPEG[@]}" opinst4a.jpg
$IM -size 53x13 xc:white -fill '#37474F' -font "$BOLD" -pointsize 11 -gravity center -annotate +0+0 'D-X' \
  "${JPEG[@]}" opinst1b.jpg
$IM -size 50x58 xc:white -fill '#6A1B9A' -draw 'roundrectangle 4,6 45,51 6,6' -fill white -font "$BOLD" \
  -pointsize 15 -gravity center -annotate +0+0 '3i' "${JPEG[@]}" opinst2b.jpg
$IM -size 54x39 xc:white -fill '#00838F' -draw 'ellipse 27,19 25,17 0,360' -fill white -font "$BOLD" \
  -pointsize 13 -gravity center -annotate +0+0 'CP' "${JPEG[@]}" opinst3b.jpg
$IM -size 50x50 xc:white -fill '#455A64' -draw 'polygon 25,2 48,25 25,48 2,25' -fill white -font "$BOLD" \
  -pointsize 13 -gravity center -annotate +0+0 'FF' "${JPEG[@]}" opinst4b.jpg

# The icon: the mark alone, 16 to 64 pixels in 32-bit colour, each image stored
# PNG-compressed (about 4 KB instead of 32 KB of bitmaps).
$IM -size 64x64 xc:none -fill "$RED" -draw 'roundrectangle 2,2 61,61 10,10' -fill white \
  -draw 'polygon 14,14 26,14 32,38 38,14 50,14 37,51 27,51' -define icon:auto-resize=64,48,32,16 icon-bitmaps.ico
for i in 0 1 2 3; do $IM "icon-bitmaps.ico[$i]" -strip -define png:color-type=6 "png32:icon-$i.png"; done
python3 png-icon.py vestora.ico icon-0.png icon-1.png icon-2.png icon-3.png
rm -f icon-bitmaps.ico icon-?.png

# The licence as the program stores it: one item per line, Windows-1252.
python3 - <<'PY'
with open("licence.utf8.txt", encoding="utf-8") as source:
    text = source.read()
with open("licence.txt", "wb") as target:
    target.write(text.encode("cp1252"))
PY
