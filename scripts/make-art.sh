#!/usr/bin/env bash
# Draws Tarnwick's pictures (toolbar strips, menu bitmaps, button glyph, icon, About logo) into res/.
# Needs ImageMagick 6 and the DejaVu fonts; the outputs are committed, the build does not run this.
set -euo pipefail
cd "$(dirname "$0")/.."
res=res
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

font=/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf
key=magenta        # 0xFF00FF, the toolbar image lists' mask colour
menu_face='#C0C0C0'
ss=8               # supersampling factor: pictures are drawn 8x larger, then averaged down

# Motives, each in the coordinates of its final size; all share a dark outline.
outline='stroke #1A1A1A stroke-width 1.1 stroke-linejoin round stroke-linecap round'

# Butterfly in a 48 x 48 box: right wings drawn once, mirrored for the left.
wings='
fill #F08A1A path "M 24,21 C 27,7 38,1 45,6 C 49,10 45,19 38,22 C 33,24 28,24 24,24 Z"
fill #F6B43A path "M 24,25 C 34,24 43,28 42,36 C 41,44 32,44 28,38 C 26,34 25,30 24,27 Z"
stroke none fill #1A1A1A path "M 37,5 C 42,2 46,4 46,8 C 45,13 43,17 40,20 C 42,15 42,9 37,5 Z"
fill #FFFFFF circle 42,8 42.9,8 circle 43,12 43.8,12 circle 40,16 40.7,16 circle 36,39 36.8,39
stroke #1A1A1A stroke-width 0.8 fill none path "M 25,22 C 31,15 37,10 41,8" path "M 25,26 C 31,30 35,34 37,38"'
butterfly="
$outline
$wings
push graphic-context affine -1,0,0,1,48,0 $outline $wings pop graphic-context
stroke #1A1A1A stroke-width 1 fill none path 'M 23,15 C 21,10 19,7 16,4' path 'M 25,15 C 27,10 29,7 32,4'
fill #1A1A1A circle 16,4 17.2,4 circle 32,4 33.2,4
stroke none fill #2A2018 ellipse 24,27 2.2,12 0,360 fill #2A2018 circle 24,15 26.2,15"

# Light bulb in a 48 x 48 box.
bulb="
stroke #F0B800 stroke-width 2 line 11,5 8,2 line 37,5 40,2 line 2,18 5,18 line 43,18 46,18 line 8,27 5,29 line 40,27 43,29
$outline
fill #FFF25A path 'M 17,32 C 14,28 9,25 9,18 C 9,9 16,3 24,3 C 32,3 39,9 39,18 C 39,25 34,28 31,32 Z'
stroke none fill #FFFCCC ellipse 18,13 4,5.5 0,360
stroke #C86A00 stroke-width 1 fill none path 'M 20,31 L 20,22 L 22,18 L 24,22 L 26,18 L 28,22 L 28,31'
$outline
fill #B8B8B8 rectangle 17,32 31,42
stroke #6A6A6A stroke-width 1 line 17.5,35.5 30.5,34.5 line 17.5,38.5 30.5,37.5
$outline
fill #505050 path 'M 19,42 L 29,42 L 27,46 L 21,46 Z'"

# Lightning bolt in a 48 x 48 box.
bolt="
stroke #7A4A00 stroke-width 1.6 stroke-linejoin round
fill #FFD81A polygon 29,1 11,27 22,27 14,47 39,18 27,18 36,1
stroke none fill #FFF6A8 polygon 29.5,3.5 15,25 19,25 31,3.5"

# Desktop computer (monitor on a case) in a 48 x 48 box.
computer="
$outline
fill #D8D0B8 roundrectangle 6,3 42,30 2,2
fill #1E4EA8 rectangle 10,7 38,26
stroke none fill #5A8AE0 polygon 10,7 26,7 10,20
$outline
fill #B8B098 rectangle 19,30 29,34
fill #D8D0B8 roundrectangle 3,34 45,45 1.5,1.5
fill #8A846E stroke-width 0.8 rectangle 8,38 22,40
stroke none fill #30C030 rectangle 38,38 41,40"

red_x="
stroke #5A0000 stroke-width 8 stroke-linecap round line 9,9 39,39 line 39,9 9,39
stroke #E81818 stroke-width 5.5 line 9,9 39,39 line 39,9 9,39"

flames="
stroke #8A1A00 stroke-width 1 stroke-linejoin round
fill #E8400E path 'M 3,47 C 1,38 5,32 6,23 C 10,28 12,31 12,35 C 13,25 17,18 14,6 C 23,15 25,23 23,32 C 27,26 29,21 31,13 C 36,22 33,28 34,34 C 38,30 40,25 40,17 C 47,27 47,38 45,47 Z'
stroke none
fill #FF9A14 path 'M 7,47 C 6,41 8,36 9,31 C 12,35 14,38 14,41 C 15,33 18,27 17,19 C 23,26 24,32 22,40 C 26,35 29,31 31,24 C 34,30 32,35 33,40 C 36,37 38,34 39,28 C 43,35 43,41 41,47 Z'
fill #FFE23A path 'M 12,47 C 11,43 13,40 14,37 C 16,40 17,42 18,44 C 19,39 20,35 21,30 C 24,35 25,40 24,44 C 27,41 29,39 31,34 C 33,39 33,43 33,47 Z'"

# Open cardboard box taking in a document, arrow pointing in.
import_mvg="
$outline
fill #B8803E polygon 13,21 43,21 40,15 16,15
fill #7A5226 polygon 8,26 13,21 43,21 38,26
fill #FFFFFF polygon 14,3 26,3 30,7 30,28 14,28
fill #D8D8D8 polygon 26,3 26,7 30,7
stroke #7890B0 stroke-width 1 line 17,10 27,10 line 17,14 27,14 line 17,18 27,18 line 17,22 24,22
$outline
fill #C8914A rectangle 8,26 38,45
fill #A06E34 polygon 38,26 43,21 43,40 38,45
fill #DDA862 polygon 8,26 1,20 6,16 13,21
stroke none fill #9A6A30 rectangle 20,30 26,36
$outline
fill #2EB82E polygon 36,2 42,2 42,9 46,9 39,17 32,9 36,9"

# Floppy disk with an arrow leaving it.
export_mvg="
$outline
fill #2A3C7A polygon 2,18 30,18 34,22 34,46 2,46
fill #C8C8D0 rectangle 10,18 26,28
fill #2A3C7A stroke none rectangle 20,20 23,26
$outline
fill #F4F4F4 rectangle 6,32 30,46
stroke #C03030 stroke-width 1 line 8,35 28,35
stroke #8090B0 line 8,39 28,39 line 8,42 28,42
$outline
fill #2EB82E polygon 20,8 36,8 36,2 46,11 36,20 36,14 20,14"

# Plain closed carton, drawn grey for the disabled toolbar buttons.
closed_box="
stroke #505050 stroke-width 1.1 stroke-linejoin round
fill #DADADA polygon 3,17 27,9 45,15 21,23
fill #A4A4A4 polygon 3,17 21,23 21,45 3,38
fill #BEBEBE polygon 21,23 45,15 45,37 21,45
stroke none fill #F0F0F0 polygon 14,13 17,12 36,18 33,19
fill #8C8C8C polygon 11,20 14,21 14,29 11,28"

# Renders MVG drawn in W x H coordinates into OUT (a PNG with a hard-edged alpha channel).
render() {  # out width height mvg
    local out=$1 width=$2 height=$3 mvg=$4
    convert -size $((width * ss))x$((height * ss)) xc:none \
        -draw "scale $ss,$ss $mvg" \
        -filter box -resize "${width}x${height}!" \
        -channel A -threshold 50% +channel "PNG32:$out"
}

# Writes PNG pictures flattened onto COLOUR as a 24-bit BMP3 file.
write_bmp() {  # colour out in...
    local colour=$1 out=$2
    shift 2
    convert "$@" +append -background "$colour" -alpha remove -alpha off \
        -type TrueColor "BMP3:$out"
}

# Scales a 48-unit motive into a smaller box.
scaled() {  # factor mvg
    echo "push graphic-context scale $1,$1 $2 pop graphic-context"
}

# Toolbar strips.
render "$work/sbar0.png" 48 48 "$import_mvg"
render "$work/sbar1.png" 48 48 "$export_mvg"
render "$work/sbar2.png" 48 48 "$computer $red_x"
render "$work/sbar3.png" 48 48 "$computer $flames"
render "$work/sbar4.png" 48 48 "$butterfly"
render "$work/sbar5.png" 48 48 "$bulb"
render "$work/sbar6.png" 48 48 "$bolt"
write_bmp "$key" "$res/SbarEnabled.bmp" "$work"/sbar{0,1,2,3,4,5,6}.png
render "$work/box.png" 48 48 "$closed_box"
write_bmp "$key" "$res/SbarDisabled.bmp" "$work"/box.png "$work"/box.png "$work"/box.png "$work"/box.png

# Menu bitmaps and the button glyph: drawn on the pixel grid (outlines on .5 coordinates).
small="stroke #1A1A1A stroke-width 1 stroke-linejoin miter"
small_monitor="
$small
fill #D8D0B8 rectangle 1.5,0.5 14.5,10.5
fill #1E4EA8 rectangle 3.5,2.5 12.5,8.5
fill #B8B098 rectangle 6.5,10.5 9.5,12.5
fill #D8D0B8 rectangle 1.5,12.5 14.5,15.5"
small_bulb="
$small
fill #FFF25A path 'M 5.5,10.5 C 4.5,9 2.5,8 2.5,5.5 C 2.5,2.5 5,0.5 8,0.5 C 11,0.5 13.5,2.5 13.5,5.5 C 13.5,8 11.5,9 10.5,10.5 Z'
stroke none fill #FFFCCC rectangle 5,3 6,5
$small
fill #B8B8B8 rectangle 5.5,10.5 10.5,13.5
stroke #707070 line 6,12 10,12
$small
fill #505050 rectangle 6.5,13.5 9.5,14.5"
folder="
stroke #5A4600 stroke-width 1 stroke-linejoin miter
fill #D8B030 polygon 1.5,3.5 6.5,3.5 7.5,5.5 14.5,5.5 14.5,13.5 1.5,13.5
fill #FFE070 rectangle 1.5,7.5 14.5,13.5"

menu() {  # out height mvg
    render "$work/menu.png" 16 "$2" "$3"
    write_bmp "$menu_face" "$res/$1" "$work/menu.png"
}
menu MenuImport.bmp 16 "
$small
fill #7A5226 polygon 1.5,8.5 3.5,6.5 13.5,6.5 11.5,8.5
fill #FFFFFF rectangle 2.5,1.5 7.5,8.5
stroke #7890B0 line 4,3.5 6,3.5 line 4,5.5 6,5.5
$small
fill #C8914A rectangle 1.5,8.5 11.5,14.5
fill #A06E34 polygon 11.5,8.5 13.5,6.5 13.5,12.5 11.5,14.5
fill #2EB82E polygon 10.5,0.5 13.5,0.5 13.5,2.5 15.5,2.5 12,6 8.5,2.5 10.5,2.5"
menu MenuExport.bmp 16 "
$small
fill #2A3C7A polygon 0.5,6.5 9.5,6.5 11.5,8.5 11.5,15.5 0.5,15.5
fill #C8C8D0 rectangle 2.5,6.5 7.5,9.5
fill #F4F4F4 rectangle 2.5,11.5 9.5,15.5
stroke none fill #2A3C7A rectangle 5,7 6,9
$small
fill #2EB82E polygon 4.5,1.5 10.5,1.5 10.5,0 14.5,3 10.5,6 10.5,4.5 4.5,4.5"
menu MenuExit.bmp 15 "
stroke #7A4A00 stroke-width 1 stroke-linejoin miter
fill #FFD81A polygon 9.5,0.5 2.5,8.5 7,8.5 4.5,14.5 13.5,5.5 9,5.5 12.5,0.5"
menu MenuUninstall.bmp 16 "
$small_monitor
stroke #F01818 stroke-width 2.2 stroke-linecap round line 3.5,2.5 12.5,11.5 line 12.5,2.5 3.5,11.5"
menu MenuRemove.bmp 16 "$small_monitor $(scaled 0.3333 "$flames")"
menu MenuPrograms.bmp 16 "$folder"
menu MenuHelpTopics.bmp 16 "$small_bulb"

render "$work/prog.png" 20 20 "
stroke #5A4600 stroke-width 1 stroke-linejoin miter
fill #D8B030 polygon 1.5,2.5 6.5,2.5 7.5,4.5 16.5,4.5 16.5,14.5 1.5,14.5
fill #FFE070 rectangle 1.5,6.5 16.5,14.5
$small
fill #FFFFFF rectangle 8.5,9.5 17.5,17.5
fill #1E3C9A rectangle 8.5,9.5 17.5,11.5"
write_bmp "$menu_face" "$res/ProgButton.bmp" "$work/prog.png"

# Application icon: grey bin with a butterfly, 32 x 32, 4 bits per pixel in the 16 VGA colours.
icon_wings="
stroke #000000 stroke-width 1 stroke-linejoin miter
fill #FFFF00 polygon 16.5,7.5 20.5,2.5 25.5,1.5 28.5,3.5 27.5,8.5 22.5,10.5 16.5,10.5
fill #FFFF00 polygon 16.5,10.5 22.5,10.5 25.5,13.5 23.5,17.5 19.5,17.5 16.5,13.5
stroke none fill #000000 polygon 23,2 26,1 29,3 28.5,6.5 26,4
fill #FFFFFF rectangle 26,3 27,4
fill #FF0000 rectangle 20,13 22,15"
icon_butterfly="
$icon_wings
push graphic-context affine -1,0,0,1,32,0 $icon_wings pop graphic-context
stroke #000000 stroke-width 1 line 15.5,3.5 12.5,0.5 line 16.5,3.5 19.5,0.5
stroke none fill #000000 rectangle 15,3 17,17"
bin="
stroke #000000 stroke-width 1 stroke-linejoin miter
fill #C0C0C0 polygon 6.5,16.5 25.5,16.5 22.5,30.5 9.5,30.5
stroke #808080 line 11.5,19 11.5,29 line 15.5,19 15.5,29 line 20.5,19 20.5,29
stroke #000000 fill #808080 rectangle 4.5,14.5 27.5,17.5
stroke #FFFFFF line 5.5,15.5 26.5,15.5"
vga="xc:#000000 xc:#800000 xc:#008000 xc:#808000 xc:#000080 xc:#800080 xc:#008080 xc:#C0C0C0
     xc:#808080 xc:#FF0000 xc:#00FF00 xc:#FFFF00 xc:#0000FF xc:#FF00FF xc:#00FFFF xc:#FFFFFF"
# shellcheck disable=SC2086
convert -size 1x1 $vga +append "$work/vga.png"
render "$work/icon.png" 32 32 "$bin $icon_butterfly"
# Remapping drops the alpha channel: copy it back, then store as a palette of at most 16 colours.
convert "$work/icon.png" -background black -alpha background \
    \( +clone +dither -remap "$work/vga.png" \) +swap -compose CopyOpacity -composite \
    -type PaletteAlpha "$res/Twk.ico"

# About logo: wood-brown banner, butterfly at the left, embossed product name.
convert -size 300x100 gradient:'#A06A36'-'#603818' \
    \( -size 300x100 xc: -fx '0.5+0.16*sin((j+5*sin(i/61)+1.5*sin(i/17))*1.2)*(0.6+0.4*sin(j/7+i/90))' \) \
    -compose softlight -composite -compose over \
    -raise 4 \
    \( -size 384x384 xc:none -draw "scale 8,8 $butterfly" -filter box -resize 84x84 \) \
    -geometry +10+8 -composite \
    -font "$font" -pointsize 36 -gravity west \
    -fill '#2A1608' -annotate +102+2 Tarnwick \
    -fill '#F4D8A8' -annotate +99-1 Tarnwick \
    -fill '#9A6A38' -annotate +100+0 Tarnwick \
    -strip -colorspace sRGB -type TrueColor -interlace none -quality 90 \
    -sampling-factor 2x2 "$res/Logo.jpg"
