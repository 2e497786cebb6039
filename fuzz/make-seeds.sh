#!/usr/bin/env bash
# Makes the seed files of fuzz/corpus/<target>/ (and the open findings of
# fuzz/findings/): small valid files of each kind and the corner cases the
# decoders must survive, built byte by byte here (each field commented) or
# with gifsicle and cjpeg from those. Seeds are named seed-*; this script
# replaces them all and never touches the regression files (regression-*),
# which are kept for good.
#
#   fuzz/make-seeds.sh            regenerate every seed
set -euo pipefail
cd "$(dirname "$0")"
corpus=$PWD/corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for target in gif html imagemap jpeg bmp links; do
  mkdir -p "$corpus/$target"
  rm -f "$corpus/$target"/seed-*
done

# --- byte writers ----------------------------------------------------------

# hex 47 49 46: the bytes given in hexadecimal.
hex() { [ $# -eq 0 ] || printf "$(printf '\\x%s' "$@")"; }
u8() { hex "$(printf '%02x' $(($1 & 255)))"; }
le16() { hex "$(printf '%02x' $(($1 & 255)))" "$(printf '%02x' $((($1 >> 8) & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $((($1 >> 16) & 65535)); }
be16() { hex "$(printf '%02x' $((($1 >> 8) & 255)))" "$(printf '%02x' $(($1 & 255)))"; }
# bytes 1 2 3: the bytes given in decimal.
bytes() { [ $# -eq 0 ] || printf "$(printf '\\x%02x' "$@")"; }

# --- GIF (GIF89a format) ----------------------------------------------------

# Logical screen descriptor (section 18) after the signature: width,
# height, packed (global table flag, colour resolution, size), background
# index, aspect ratio. bits 0 means no global colour table.
gif_screen() { # signature width height bits
  printf '%s' "$1"
  le16 "$2"; le16 "$3"
  if [ "$4" -gt 0 ]; then u8 $((0x80 | (($4 - 1) << 4) | ($4 - 1))); else u8 0; fi
  u8 0; u8 0
  [ "$4" -eq 0 ] || gif_palette "$4"
}
# A colour table of 2^bits red-green-blue triples.
gif_palette() {
  local i n=$((1 << $1)) out=()
  for ((i = 0; i < n; i++)); do out+=($((i * 67 % 256)) $((i * 151 % 256)) $((255 - i * 29 % 256))); done
  bytes "${out[@]}"
}
# Graphic control extension (section 23): disposal, delay in 1/100 s, and
# the transparent index or -1.
gif_control() { # disposal delay transparent
  hex 21 f9 04
  local packed=$(($1 << 2))
  [ "$3" -lt 0 ] || packed=$((packed | 1))
  u8 $packed; le16 "$2"; u8 $(($3 < 0 ? 0 : $3)); hex 00
}
# Application extension NETSCAPE2.0 (loop count, 0 without end).
gif_loops() { hex 21 ff 0b; printf 'NETSCAPE2.0'; hex 03 01; le16 "$1"; hex 00; }
gif_comment() { hex 21 fe; u8 ${#1}; printf '%s' "$1"; hex 00; }
# Image descriptor (section 20): left, top, width, height, packed (local
# table flag and size, interlace flag).
gif_descriptor() { # left top width height localbits interlace
  hex 2c; le16 "$1"; le16 "$2"; le16 "$3"; le16 "$4"
  local packed=0
  [ "$5" -eq 0 ] || packed=$((0x80 | ($5 - 1)))
  [ "$6" -eq 0 ] || packed=$((packed | 0x40))
  u8 $packed
  [ "$5" -eq 0 ] || gif_palette "$5"
}
# Image data as uncompressed LZW: minimum code size 7 makes every code 8
# bits wide, so each pixel is one literal byte; a clear code every 120
# literals keeps the table from widening the codes. Sub-blocks of at most
# 255 bytes, then the terminator. Pixels cycle through `colours` indices.
gif_pixels() { # count colours [noclear]
  local i codes=()
  for ((i = 0; i < $1; i++)); do
    if [ $((i % 120)) -eq 0 ] && { [ $i -gt 0 ] || [ "${3:-}" != noclear ]; }; then codes+=(128); fi
    codes+=($(((i * 7 + i / 5) % $2)))
  done
  codes+=(129)
  u8 7
  local offset
  for ((offset = 0; offset < ${#codes[@]}; offset += 255)); do
    local chunk=("${codes[@]:offset:255}")
    u8 ${#chunk[@]}
    bytes "${chunk[@]}"
  done
  hex 00
}
gif_frame() { # left top width height localbits interlace colours
  gif_descriptor "$1" "$2" "$3" "$4" "$5" "$6"
  gif_pixels $(($3 * $4)) "$7"
}
gif_end() { hex 3b; }

g=$corpus/gif
{ gif_screen GIF89a 16 12 2; gif_frame 0 0 16 12 0 0 4; gif_end; } > "$g/seed-still"
{ gif_screen GIF87a 9 7 1; gif_frame 0 0 9 7 0 0 2; gif_end; } > "$g/seed-gif87a"
# Neither a global nor a local colour table: the default palette.
{ gif_screen GIF89a 8 8 0; gif_frame 0 0 8 8 0 0 16; gif_end; } > "$g/seed-no-colour-table"
# A local table and interlaced rows, smaller than the screen and offset.
{ gif_screen GIF89a 20 20 1; gif_frame 3 5 11 13 3 1 8; gif_end; } > "$g/seed-local-interlaced"
# Transparent index 1, with a comment.
{ gif_screen GIF89a 10 10 2; gif_comment "seed"; gif_control 0 0 1; gif_frame 0 0 10 10 0 0 4; gif_end; } \
  > "$g/seed-transparent"
# Data that starts with a literal instead of a clear code.
{ gif_screen GIF89a 12 4 3; hex 2c 00 00 00 00 0c 00 04 00 00; gif_pixels 48 8 noclear; gif_end; } \
  > "$g/seed-no-clear-code"
# Animation: loops, one frame per disposal method, a transparent frame
# partly outside the screen and a frame of width 0.
{
  gif_screen GIF89a 24 18 2; gif_loops 2
  gif_control 1 5 -1; gif_frame 0 0 24 18 0 0 4
  gif_control 2 3 0; gif_frame 4 4 10 8 0 0 4
  gif_control 3 2 2; gif_frame 6 2 12 10 2 0 4
  gif_control 0 0 -1; hex 2c 00 00 00 00 00 00 05 00 00 07 01 80 00
  gif_control 2 1 3; gif_frame 20 14 9 9 0 1 4
  gif_end
} > "$g/seed-animation"
# Many 1x1 frames, more than the decoder keeps.
{
  gif_screen GIF89a 2 2 1; gif_loops 0
  for ((f = 0; f < 260; f++)); do gif_control 1 1 -1; gif_frame $((f % 2)) 0 1 1 0 0 2; done
  gif_end
} > "$g/seed-many-frames"
# A huge logical screen over a small frame: the size caps decide.
{ gif_screen GIF89a 65535 65535 1; gif_frame 0 0 2 2 0 0 2; gif_end; } > "$g/seed-huge-screen"
# Minimum code sizes the format does not allow (9) and the smallest (1).
{ gif_screen GIF89a 4 4 1; gif_descriptor 0 0 4 4 0 0; hex 09 02 00 ff 00; gif_end; } > "$g/seed-code-size-9"
{ gif_screen GIF89a 4 1 1; gif_descriptor 0 0 4 1 0 0; hex 01 02 4c 01 00; gif_end; } > "$g/seed-code-size-1"
# Codes beyond the next free table entry.
{ gif_screen GIF89a 6 6 1; gif_descriptor 0 0 6 6 0 0; hex 02 04 84 ff ff ff 00; gif_end; } > "$g/seed-bad-codes"
# Plain text and unknown extensions, garbage between blocks, no trailer.
{
  gif_screen GIF89a 8 8 2
  hex 21 01 0c 00 00 00 00 08 00 08 00 04 04 01 00 03 41 42 43 00
  hex 21 ff 0b; printf 'XMPDataXMP!'; hex 02 00 00 00
  hex 00 00 07
  gif_frame 0 0 8 8 0 0 4
} > "$g/seed-extensions-no-trailer"
# Cut inside the image data.
head -c 40 "$g/seed-still" > "$g/seed-truncated"
# The same pictures compressed, optimised and animated by gifsicle.
if command -v gifsicle > /dev/null; then
  gifsicle -O2 "$g/seed-still" > "$g/seed-gifsicle-compressed"
  gifsicle --interlace --colors 2 "$g/seed-local-interlaced" > "$g/seed-gifsicle-two-colours"
  gifsicle -O3 --loopcount=3 --disposal=previous --delay 7 "$g/seed-still" "$g/seed-transparent" "$g/seed-still" \
    > "$g/seed-gifsicle-animation" 2> /dev/null
else
  echo "make-seeds.sh: gifsicle missing, its GIF seeds are not made" >&2
fi

# --- BMP ----------------------------------------------------------------------

# File header (14 bytes) and BITMAPINFOHEADER (40 bytes): type "BM", file
# size, reserved, pixel offset; header size, width, height (negative:
# top-down), planes, bits per pixel, compression, image size, resolution,
# colours used, colours important.
bmp_headers() { # width height bits compression palette_entries data_bytes [extra_header_bytes]
  local offset=$((54 + 4 * $5 + ${7:-0}))
  printf 'BM'; le32 $((offset + $6)); le32 0; le32 $offset
  le32 40; le32 "$1"; le32 "$2"; le16 1; le16 "$3"; le32 "$4"; le32 "$6"
  le32 2835; le32 2835; le32 "$5"; le32 0
}
# Palette entries blue, green, red, 0.
bmp_palette() { local i out=(); for ((i = 0; i < $1; i++)); do out+=($((i * 40 % 256)) $((i * 90 % 256)) $((255 - i * 17 % 256)) 0); done; bytes "${out[@]}"; }
# Rows of `rowbytes` bytes, padded to 4.
bmp_rows() { # rows rowbytes
  local r c out=() padded=$((($2 + 3) / 4 * 4))
  for ((r = 0; r < $1; r++)); do for ((c = 0; c < padded; c++)); do out+=($(((r * 31 + c * 13) % 256))); done; done
  bytes "${out[@]}"
}
bmp_plain() { # width height bits
  local rowbytes=$((($1 * $3 + 7) / 8)) entries=0 height=$2
  [ "$3" -gt 8 ] || entries=$((1 << $3))
  [ "$height" -ge 0 ] || height=$((-height))
  bmp_headers "$1" "$2" "$3" 0 $entries $((height * ((rowbytes + 3) / 4 * 4)))
  [ $entries -eq 0 ] || bmp_palette $entries
  bmp_rows $height $rowbytes
}

b=$corpus/bmp
bmp_plain 5 3 24 > "$b/seed-rgb24-padded"
bmp_plain 4 4 32 > "$b/seed-rgb32"
bmp_plain 7 5 8 > "$b/seed-pal8"
bmp_plain 9 4 4 > "$b/seed-pal4"
bmp_plain 17 3 1 > "$b/seed-pal1"
bmp_plain 6 -4 24 > "$b/seed-top-down"
# RLE8 (compression 1): a run, a literal run, a delta, end of line, end of
# bitmap.
{ bmp_headers 8 3 8 1 4 22; bmp_palette 4; hex 04 01 00 03 02 03 01 00 00 02 02 01 00 00 03 02 02 00 00 00 00 01; } \
  > "$b/seed-rle8"
# RLE4 (compression 2): runs of alternating nibbles, end of bitmap.
{ bmp_headers 8 2 4 2 16 8; bmp_palette 16; hex 08 12 00 00 06 34 00 01; } > "$b/seed-rle4"
# 16 bits with BITFIELDS masks 5-6-5 (compression 3).
{ bmp_headers 4 2 16 3 0 16 12; hex 00 f8 00 00 e0 07 00 00 1f 00 00 00; bmp_rows 2 8; } > "$b/seed-bitfields565"
# OS/2 core header (12 bytes): width and height are 16 bits.
{ printf 'BM'; le32 $((26 + 2 * 8)); le32 0; le32 26; le32 12; le16 2; le16 2; le16 1; le16 24; bmp_rows 2 6; } \
  > "$b/seed-os2-core"
# Header only, announcing a huge picture.
{ bmp_headers 30000 30000 24 0 0 0; } > "$b/seed-huge"
# Pixel data cut short, and a bit count that does not exist.
head -c 70 "$b/seed-rgb24-padded" > "$b/seed-truncated"
{ bmp_headers 4 4 7 0 0 16; bmp_rows 4 4; } > "$b/seed-bad-bitcount"

# --- JPEG -----------------------------------------------------------------------

j=$corpus/jpeg
# A 16x16 colour gradient as a binary PPM, the input of cjpeg.
{
  printf 'P6\n16 16\n255\n'
  for ((y = 0; y < 16; y++)); do for ((x = 0; x < 16; x++)); do bytes $((x * 16)) $((y * 16)) $(((x + y) * 8)); done; done
} > "$work/gradient.ppm"
{ printf 'P6\n3 2\n255\n'; bytes 255 0 0 0 255 0 0 0 255 9 9 9 200 200 200 90 30 60; } > "$work/tiny.ppm"
# A progressive scan script with as many scans as the decoder allows (and
# cjpeg writes): DC first and refined, each AC coefficient alone, then
# refinements of the first 35.
{
  echo "0: 0 0 0 1;"
  echo "0: 0 0 1 0;"
  for ((k = 1; k < 64; k++)); do echo "0: $k $k 0 1;"; done
  for ((k = 1; k <= 35; k++)); do echo "0: $k $k 1 0;"; done
} > "$work/many-scans.txt"
if command -v cjpeg > /dev/null; then
  cjpeg -quality 75 "$work/gradient.ppm" > "$j/seed-baseline"
  cjpeg -progressive "$work/gradient.ppm" > "$j/seed-progressive"
  cjpeg -grayscale -optimize "$work/gradient.ppm" > "$j/seed-grayscale"
  cjpeg -restart 1 -sample 2x1 "$work/gradient.ppm" > "$j/seed-restart-subsampled"
  cjpeg -arithmetic "$work/gradient.ppm" > "$j/seed-arithmetic"
  cjpeg -dct float -quality 100 "$work/tiny.ppm" > "$j/seed-tiny"
  cjpeg -grayscale -scans "$work/many-scans.txt" "$work/gradient.ppm" > "$j/seed-hundred-scans"
  head -c 300 "$j/seed-baseline" > "$j/seed-truncated"
else
  echo "make-seeds.sh: cjpeg missing, its JPEG seeds are not made" >&2
fi
# Start of image, then a baseline frame header (SOF0) announcing 65500 x
# 65500 pixels of 3 components, and nothing after: the size caps decide.
{ hex ff d8 ff c0 00 11 08; be16 65500; be16 65500; hex 03 01 22 00 02 11 01 03 11 01 ff d9; } > "$j/seed-huge-frame"
# A lossless frame header (SOF3), which is refused.
{ hex ff d8 ff c3 00 0b 08 00 10 00 10 01 01 11 00 ff d9; } > "$j/seed-lossless-header"

# --- image maps -------------------------------------------------------------------

m=$corpus/imagemap
printf 'SHAPE=rect|COORDS=0,0,40,30|HREF=a.htm|TARGET=main\nSHAPE=circle|COORDS=60,20,15|HREF=b.htm\n' \
  > "$m/seed-rect-circle"
printf 'SHAPE=poly|COORDS=0,0,50,0,25,40|HREF=tri.htm\nSHAPE=rect|COORDS=10,10,20,20|NOHREF\n' > "$m/seed-poly-nohref"
printf 'SHAPE=rect|COORDS=40,30,0,0|HREF=reversed.htm\nSHAPE=rect|COORDS=1,2,3|HREF=short.htm\n' > "$m/seed-reversed-short"
printf 'SHAPE=circle|COORDS=0,0,300|HREF=big\nSHAPE=rect|COORDS=-99999,-5,99999,5|HREF=clamped\n' > "$m/seed-extremes"
printf 'SHAPE=circ|COORDS= 5 , 6 , 7 |HREF=spaces\nSHAPE=circle|COORDS=5,5,0|HREF=zero-radius\n' > "$m/seed-spaces-zero"
# A zigzag polygon across the 16-bit range, of a few points.
zigzag() { # points
  printf 'SHAPE=poly|COORDS='
  for ((k = 0; k < $1; k++)); do printf '%d,%d,' $((k * 300 % 32767)) $(((k % 2) * 32000)); done
  printf '|HREF=zigzag\n'
}
zigzag 6 > "$m/seed-zigzag-polygon"
printf 'SHAPE=polygon|COORDS=0,0,10,0,0,10,10,10|HREF=bow-tie\nHREF=|COORDS=a,b,c,d\n' > "$m/seed-bow-tie-text"

# Fixed findings, kept as regression files: a tall polygon and a huge circle
# once took minutes to turn into pixel regions.
zigzag 100 > "$m/regression-timeout-polygon-100-points"
printf 'SHAPE=circle|COORDS=0,0,32767|HREF=big\n' > "$m/regression-timeout-circle-radius-32767"

# --- HTML -------------------------------------------------------------------------

h=$corpus/html
cat > "$h/seed-basic" <<'EOF'
<HTML><HEAD><TITLE>Essai</TITLE><BASE HREF="C:\Docs\" TARGET=main>
<META HTTP-EQUIV="Refresh" CONTENT="5; URL=suite.htm"></HEAD>
<BODY BGCOLOR=#FFFFF0 TEXT=navy LINK=red>
<H1 ALIGN=center>Titre &eacute;l&egrave;ve &amp; ma&icirc;tre</H1>
<P>Un paragraphe <B>gras</B>, <I>italique</I>, <U>soulign&eacute;</U>, <TT>fixe</TT>,
<FONT SIZE=+2 COLOR=green FACE="Arial">plus grand</FONT> et <SUB>bas</SUB><SUP>haut</SUP>.
<BR CLEAR=all><A HREF="page2.htm#ancre">un lien</A> <A NAME=ancre>ancre</A>
<HR SIZE=5 WIDTH=50% ALIGN=left NOSHADE COLOR=red>
<PRE>	tab	et   blancs
<B>gras</B> dans pre</PRE>
<ADDRESS>adresse</ADDRESS><BLOCKQUOTE>citation</BLOCKQUOTE>
</BODY></HTML>
EOF
cat > "$h/seed-lists" <<'EOF'
<UL><LI>un<LI>deux<UL TYPE=square><LI>trois<OL TYPE=I START=18><LI>a<LI VALUE=30>b</OL></UL></UL>
<OL TYPE=a START=25><LI>y<LI>z<LI>aa</OL><DL><DT>terme<DD>d&eacute;finition</DL>
<DIR><LI>dir</DIR><MENU><LI>menu</MENU><UL PLAIN><LI>plain</UL>
EOF
cat > "$h/seed-tables" <<'EOF'
<TABLE BORDER=2 CELLPADDING=4 CELLSPACING=3 WIDTH=80% BGCOLOR=silver>
<CAPTION ALIGN=bottom>L&eacute;gende</CAPTION>
<TR><TH COLSPAN=2>t&ecirc;te</TH><TH ROWSPAN=3>c&ocirc;t&eacute;</TH></TR>
<TR><TD WIDTH=30>a</TD><TD ALIGN=right VALIGN=bottom NOWRAP>b b b b b b b</TD></TR>
<TR><TD COLSPAN=0>c<TABLE><TR><TD>imbriqu&eacute;e<TD>x</TABLE></TD></TR>
<TR><TD ROWSPAN=9999 COLSPAN=9999>grand</TD></TR></TABLE>
<TABLE><TR><TD>sans fin
EOF
cat > "$h/seed-forms" <<'EOF'
<FORM ACTION="envoi.htm" METHOD=post>
<INPUT TYPE=text NAME=nom VALUE="Jean" SIZE=20 MAXLENGTH=30>
<INPUT TYPE=checkbox NAME=c CHECKED><INPUT TYPE=radio NAME=r VALUE=1>
<INPUT TYPE=hidden NAME=h VALUE=x><INPUT TYPE=submit VALUE="Envoyer"><INPUT TYPE=image SRC="1">
<SELECT NAME=s SIZE=3 MULTIPLE><OPTION SELECTED>un<OPTION VALUE=2>deux</SELECT>
<TEXTAREA NAME=t ROWS=3 COLS=20 WRAP=virtual>ligne 1
ligne 2</TEXTAREA></FORM>
EOF
cat > "$h/seed-comments-script" <<'EOF'
<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 3.2//EN">
<!-- un commentaire --><!----><!-- - -- -->
<SCRIPT LANGUAGE="JavaScript"><!-- if (a < b) document.write("<B>") // --></SCRIPT>
<P>&lt;&gt;&quot;&nbsp;&copy;&#233;&#1234567;&#x41;&bogus;&amp &
<BGSOUND SRC="son.wav" LOOP=-1><FRAMESET><FRAME SRC=a></FRAMESET><NOFRAMES>sans cadres</NOFRAMES>
<!-- ouvert jusqu'a la fin
EOF
# Images and includes served from the input: files after the page, each
# after the separator line feed, form feed, form feed, line feed.
sep=$'\n\f\f\n'
{
  printf '<P>Avant<!--#include FILE="3"-->apr&egrave;s <!--#date--> <!--#time-->\n'
  printf '<IMG SRC="1" ALT="anim" ALIGN=left HSPACE=8><IMG SRC="2" WIDTH=50%% HEIGHT=20 BORDER=0 TRANSP>'
  printf '<A HREF="x.htm"><IMG SRC="4" ALIGN=right></A><IMG SRC="9" ALT="absente"> texte autour des images\n'
  printf '%s' "$sep"; cat "$g/seed-animation"
  printf '%s' "$sep"; cat "$b/seed-pal8"
  printf '%s<B>inclus' "$sep"
  printf '</B><!--#include FILE="3"--> fin'
  printf '%s' "$sep"; cat "$j/seed-tiny" 2> /dev/null || true
} > "$h/seed-images-includes"
cat > "$h/seed-image-map" <<'EOF'
<MAP NAME="carte"><AREA SHAPE=rect COORDS="0,0,20,20" HREF="a.htm" TARGET=t>
<AREA SHAPE=circle COORDS="30,10,8" NOHREF><AREA SHAPE=poly COORDS="0,0,40,0,20,30" HREF="p.htm"></MAP>
<IMG SRC="1" USEMAP="#carte" WIDTH=40 HEIGHT=30><A HREF="ismap.htm"><IMG SRC="1" ISMAP></A>
EOF
printf '%s' "$sep" >> "$h/seed-image-map"; cat "$g/seed-still" >> "$h/seed-image-map"
# Nesting far deeper than the parser allows.
{
  for ((k = 0; k < 300; k++)); do printf '<UL><LI>%d' $k; done
  for ((k = 0; k < 300; k++)); do printf '<TABLE><TR><TD>'; done
  printf 'fond'
  for ((k = 0; k < 300; k++)); do printf '<CENTER><DIV ALIGN=right><FONT SIZE=7><B>'; done
  printf 'profond'
} > "$h/seed-deep-nesting"
# A text longer than a section holds, and one word wider than any line.
{
  printf '<P>'
  for ((k = 0; k < 2200; k++)); do printf 'mot%d ' $k; done
  printf '<P>'
  for ((k = 0; k < 400; k++)); do printf 'x'; done
} > "$h/seed-long-text"

# --- links (first byte: the situation, then the link text) -----------------

# link FLAGS NAME TEXT: flags bits 0-1 the page shown (0 none, 1 a tutorial
# page, 2 a "DosPath" base), bit 2 set when the media player cannot start.
l=$corpus/links
link() { { u8 "$1"; printf '%s' "$3"; } > "$l/seed-$2"; }
link 1 drive-sound 'C:\Sons\cloche.wav'
link 1 file-scheme 'file:///c|/sons/Gong.Wav'
link 1 relative-sound 'carillon.wav'
link 1 program-words 'outils\calcul.exe un deux'
link 1 program-quotes 'calcul.exe "deux mots" ; rm -rf / | tee $(x)'
link 1 page-query 'suite.htm?partie=2'
link 1 anchor '#chapitres'
link 1 media 'air.mid'
link 5 media-fallback 'air.mid'
link 5 media-missing 'absent.AVI'
link 1 mail 'mailto:eleve@ecole.fr'
link 1 web 'HTTP://www.exemple.fr/page.htm'
link 1 secure-web 'https://www.exemple.fr/'
link 1 javascript "javascript:window.open('HTTP://x')"
link 2 dospath-program 'MPlayer.exe /x'
link 0 no-page 'page.htm'
link 1 escapes 'file:///c|/a%20b/%41.wav'
link 1 long "$(printf 'a%.0s' $(seq 1 300)).wav"

for target in gif html imagemap jpeg bmp links; do
  echo "$target: $(ls "$corpus/$target" | grep -c '^seed-') seeds"
done
