#!/usr/bin/env bash
# Draws the tutorial's pictures and its chime into Docs/ (the results are kept
# in the repository; run again only to change them). Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")/../Docs"
mkdir -p Images

# The program's emblem, a 24-bit BMP.
convert -size 96x96 xc:'#FFFFF0' \
  -fill '#1040A0' -draw 'circle 48,48 48,6' \
  -fill none -stroke '#F0F0FF' -strokewidth 2 -draw 'ellipse 48,48 42,14 0,360' -draw 'ellipse 48,48 14,42 0,360' \
  -stroke none -fill '#C00000' -draw 'circle 72,30 72,22' \
  BMP3:Images/logo.bmp

# A lit sphere with its frame, as a photograph-like JPEG.
convert -size 400x400 radial-gradient:'#B0D4FF'-'#0A1830' -crop 320x240+70+110 +repage /tmp/sphere_light.png
convert -size 320x240 radial-gradient:'#203050'-'#000010' \
  -tile /tmp/sphere_light.png -draw 'circle 160,120 160,20' +tile \
  -fill none -stroke '#60FFFF' -strokewidth 1 \
  -draw 'ellipse 160,120 100,100 0,360' -draw 'ellipse 160,120 100,30 0,360' -draw 'ellipse 160,120 40,100 0,360' \
  -stroke '#FF4040' -draw 'line 160,120 290,120' -stroke '#40FF40' -draw 'line 160,120 90,180' -stroke '#4040FF' -draw 'line 160,120 160,6' \
  -quality 88 Images/sphere.jpg
rm -f /tmp/sphere_light.png

# A point going round the sphere, an animated GIF that loops for ever.
frames=()
for i in $(seq 0 11); do
  a=$(awk "BEGIN{print $i*30*3.14159265/180}")
  x=$(awk "BEGIN{printf \"%d\", 32+24*cos($a)}")
  y=$(awk "BEGIN{printf \"%d\", 32+9*sin($a)}")
  convert -size 64x64 xc:'#FFFFF0' -fill none -stroke '#1040A0' -strokewidth 2 -draw 'circle 32,32 32,14' \
    -stroke '#808080' -strokewidth 1 -draw 'ellipse 32,32 24,9 0,360' \
    -stroke none -fill '#C00000' -draw "circle $x,$y $((x+4)),$y" /tmp/orbite_$i.gif
  frames+=(/tmp/orbite_$i.gif)
done
convert -delay 10 -loop 0 "${frames[@]}" Images/orbite.gif
rm -f "${frames[@]}"

# A small note sign with a transparent background, a still GIF.
convert -size 32x32 xc:none -fill '#F0C020' -stroke '#806000' -draw 'circle 16,16 16,2' \
  -stroke none -fill '#403000' -font DejaVu-Sans-Bold -pointsize 20 -gravity center -annotate +0+1 'i' \
  Images/note.gif

# A three-note chime, 16-bit mono WAV.
python3 - <<'PY'
import math, struct, wave
rate = 22050
notes = [(659.25, 0.0), (523.25, 0.35), (783.99, 0.7)]
length = int(rate * 1.6)
samples = [0.0] * length
for freq, start in notes:
    s0 = int(start * rate)
    for n in range(s0, length):
        t = (n - s0) / rate
        samples[n] += 0.3 * math.exp(-3.0 * t) * (math.sin(2 * math.pi * freq * t) + 0.3 * math.sin(4 * math.pi * freq * t))
with wave.open("carillon.wav", "wb") as w:
    w.setnchannels(1); w.setsampwidth(2); w.setframerate(rate)
    w.writeframes(b"".join(struct.pack("<h", max(-32767, min(32767, int(v * 32767)))) for v in samples))
PY
