#!/usr/bin/env bash
# Makes the program's icon and the picture of its instructions window from
# Debian tools (ImageMagick, qrencode). The results are committed, so a build
# needs neither; run this again only to change them.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

for tool in convert qrencode; do
  command -v "$tool" >/dev/null || { echo "make-assets: needs $tool (apt-get install imagemagick qrencode)" >&2; exit 1; }
done

font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Nothing in the files may depend on when or where they were made.
reproducible=(-strip -define png:exclude-chunks=date,time)

# The icon: a tally of five on a fox-orange tile, drawn large and scaled down.
convert -size 256x256 xc:none \
  -fill '#E8702A' -draw 'roundrectangle 8,8 247,247 44,44' \
  -stroke white -strokewidth 22 -fill none \
  -draw 'line 70,64 70,192' -draw 'line 108,64 108,192' \
  -draw 'line 146,64 146,192' -draw 'line 184,64 184,192' \
  -draw 'line 46,168 208,88' \
  "${reproducible[@]}" "$work/icon-256.png"
for size in 16 24 32 48 64; do
  convert "$work/icon-256.png" -resize "${size}x${size}" "${reproducible[@]}" "$work/icon-$size.png"
done
convert "$work"/icon-{16,24,32,48,64,256}.png "${reproducible[@]}" assets/tallyfox.ico

# The instructions picture: the community group's name as a QR code, with a caption.
qrencode -l M -s 16 -m 2 -o "$work/qr.png" "Tallyfox 用户交流群"
convert -size 540x740 xc:white \
  -font "$font" -fill '#E8702A' -pointsize 44 -gravity north -annotate +0+46 'Tallyfox' \
  -fill '#333333' -pointsize 34 -annotate +0+112 '用户交流群' \
  \( "$work/qr.png" -resize 400x400 \) -gravity center -geometry +0+40 -composite \
  -fill '#555555' -pointsize 28 -gravity south -annotate +0+44 '扫码加入，第一时间获取更新' \
  -strip -interlace none -sampling-factor 4:2:0 -quality 90 -type TrueColor \
  "JPEG:assets/instructions.jpg"

echo "make-assets: wrote assets/tallyfox.ico and assets/instructions.jpg"
