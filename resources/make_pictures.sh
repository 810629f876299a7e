#!/bin/sh
# Redraws the icons and the two notification-area pictures (ImageMagick).
# The results are kept in this folder; run this only to change them.
set -e
cd "$(dirname "$0")"

# Application icon: a small panel with a clock face.
for s in 16 32 48; do
  r=$((s * 7 / 16)); c=$((s / 2))
  convert -size ${s}x${s} xc:none \
    -fill '#2d6cdf' -draw "roundrectangle 0,0 $((s-1)),$((s-1)) $((s/5)),$((s/5))" \
    -fill white -draw "circle $c,$c $c,$((c-r+1))" \
    -stroke '#202020' -strokewidth $((s/16+1)) \
    -draw "line $c,$c $c,$((c-r*3/4))" -draw "line $c,$c $((c+r/2)),$c" \
    icon_$s.png
done
convert icon_16.png icon_32.png icon_48.png kirabi.ico
rm -f icon_16.png icon_32.png icon_48.png

# Button images of the settings sheet: an arrow up and an arrow down.
convert -size 16x16 xc:none -fill '#303030' -draw 'polygon 8,3 13,10 3,10' -draw 'rectangle 6,10 10,13' up.png
convert -size 16x16 xc:none -fill '#303030' -draw 'polygon 8,13 13,6 3,6' -draw 'rectangle 6,3 10,6' down.png
convert up.png button_up.ico
convert down.png button_down.ico
rm -f up.png down.png

# Notification areas: older system (left picture) and newer one (right).
convert -size 180x48 xc:none \
  -fill '#d4d0c8' -draw 'rectangle 0,8 179,47' \
  -fill '#ece9d8' -stroke '#808080' -draw 'rectangle 60,14 175,41' -stroke none \
  -fill '#2d6cdf' -draw 'roundrectangle 70,20 85,35 3,3' \
  -fill '#3a9a3a' -draw 'rectangle 92,20 107,35' \
  -fill '#202020' -draw 'rectangle 122,22 150,24' -draw 'rectangle 122,30 160,32' \
  -stroke '#e02020' -strokewidth 2 -fill none -draw 'ellipse 77,27 12,12 0,360' \
  PNG32:tray_old.png
convert -size 180x48 xc:none \
  -fill '#1f2a3a' -draw 'rectangle 0,8 179,47' \
  -fill '#c0c8d8' -draw 'polygon 20,22 30,32 40,22' \
  -fill '#2d6cdf' -draw 'roundrectangle 60,20 75,35 3,3' \
  -fill '#d0d0d0' -draw 'rectangle 85,20 100,35' \
  -fill white -draw 'rectangle 122,22 150,24' -draw 'rectangle 122,30 160,32' \
  -stroke '#e02020' -strokewidth 2 -fill none -draw 'ellipse 67,27 12,12 0,360' \
  -draw 'ellipse 30,27 12,10 0,360' \
  PNG32:tray_new.png
