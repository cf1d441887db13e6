#!/usr/bin/env bash
# Draws the application icon (two voices, told apart) with ImageMagick and
# writes src/app/app.ico with the sizes Windows asks for, 16 to 256 pixels.
# The small sizes are drawn on their own, without the wave bars, so they
# stay sharp. Run by hand when the design changes; the .ico is committed.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

draw() { # size detail
  local s=$1 detail=$2
  local r=$((s * 22 / 100))
  local args=(-size "${s}x${s}" xc:none
    -fill '#1f5fa8' -draw "roundrectangle 0,0 $((s - 1)),$((s - 1)) $r,$r")
  # The first voice: a white bubble, upper left, its tail down left.
  args+=(-fill white -draw "ellipse $((s * 40 / 100)),$((s * 38 / 100)) $((s * 30 / 100)),$((s * 23 / 100)) 0,360"
    -draw "polygon $((s * 22 / 100)),$((s * 52 / 100)) $((s * 16 / 100)),$((s * 70 / 100)) $((s * 36 / 100)),$((s * 58 / 100))")
  # The second voice: an orange bubble, lower right, its tail down right.
  args+=(-fill '#f39a1e' -draw "ellipse $((s * 62 / 100)),$((s * 64 / 100)) $((s * 28 / 100)),$((s * 21 / 100)) 0,360"
    -draw "polygon $((s * 76 / 100)),$((s * 78 / 100)) $((s * 86 / 100)),$((s * 92 / 100)) $((s * 66 / 100)),$((s * 82 / 100))")
  if [ "$detail" = yes ]; then
    # Wave bars: the first voice's in blue, the second's in white.
    local w=$((s * 5 / 100))
    local x
    for x in 28 38 48; do
      local h=$(( x == 38 ? 14 : 8 ))
      args+=(-fill '#1f5fa8' -draw "roundrectangle $((s * x / 100)),$((s * (38 - h) / 100)) $((s * x / 100 + w)),$((s * (38 + h) / 100)) $((w / 2)),$((w / 2))")
    done
    for x in 52 62 72; do
      local h=$(( x == 62 ? 13 : 7 ))
      args+=(-fill white -draw "roundrectangle $((s * x / 100)),$((s * (64 - h) / 100)) $((s * x / 100 + w)),$((s * (64 + h) / 100)) $((w / 2)),$((w / 2))")
    done
  fi
  convert "${args[@]}" "$work/icon-$s.png"
}

files=()
for size in 16 20 24 32 40 48 64 256; do
  if [ "$size" -le 24 ]; then draw "$size" no; else draw "$size" yes; fi
  files+=("$work/icon-$size.png")
done
convert "${files[@]}" -depth 8 "$root/src/app/app.ico"
convert "$work/icon-256.png" -depth 8 "$root/docs/icon.png"
echo "Wrote $root/src/app/app.ico"
