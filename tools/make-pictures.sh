#!/bin/sh
# Regenerates the shipped pictures of the installation folder:
#
#   install/Images/True.bmp, install/Images/False.bmp
#       16x16 cell pictures for the "Selected" column of the address grid
#       (24-bit uncompressed Windows BMP, written pixel by pixel in Python).
#   install/vovovSB/header_sb.png, install/vovovSB/header_db.png
#       1600x64 header strip of the main window, one per edition.
#   install/vovovSB/wizard_sb.png, install/vovovSB/wizard_db.png
#       164x314 side picture of the wizard dialogs, one per edition.
#
# Needs: python3 (standard library only), ImageMagick 6 ("convert"),
#        the DejaVu fonts (Debian/Ubuntu package fonts-dejavu-core).
#
# Usage: tools/make-pictures.sh            (from anywhere inside the repository)
#        CONVERT=/usr/bin/convert tools/make-pictures.sh   (pick a convert binary)

set -eu

ROOT=$(cd "$(dirname "$0")/.." && pwd)
IMAGES="$ROOT/install/Images"
PICS="$ROOT/install/vovovSB"
CONVERT=${CONVERT:-convert}
PYTHON=${PYTHON:-python3}

mkdir -p "$IMAGES" "$PICS"

font() {
    # $1 = file name below the DejaVu folder, $2 = ImageMagick font name fallback
    for dir in /usr/share/fonts/truetype/dejavu /usr/share/fonts/TTF /usr/share/fonts/dejavu; do
        if [ -f "$dir/$1" ]; then
            echo "$dir/$1"
            return
        fi
    done
    echo "$2"
}
FONT_BOLD=$(font DejaVuSans-Bold.ttf DejaVu-Sans-Bold)
FONT_BOOK=$(font DejaVuSans.ttf DejaVu-Sans)

# Colour scheme shared by all edition pictures.
BLUE_DARK='#0f2d4f'     # left / top

TEAL='#1d7a7c'          # right / bottom
TAGLINE='#cfe8ec'       # lighter text
ACCENT='#5fc4c0'        # thin accent line

# ---------------------------------------------------------------------------
# 1. Cell pictures True.bmp / False.bmp
# ---------------------------------------------------------------------------
"$PYTHON" - "$IMAGES" <<'PYEOF'
import math
import os
import struct
import sys

SIZE = 16
WHITE = (255, 255, 255)


def blend(bg, fg, alpha):
    return tuple(round(b + (f - b) * alpha) for b, f in zip(bg, fg))


def box(pixels, border, fill=WHITE):
    """Square box from (1,1) to (14,14): 1 px border, 1 px rounded corners."""
    lo, hi = 1, SIZE - 2
    for y in range(lo, hi + 1):
        for x in range(lo, hi + 1):
            edge = x in (lo, hi) or y in (lo, hi)
            corner = x in (lo, hi) and y in (lo, hi)
            if corner:
                pixels[y][x] = blend(WHITE, border, 0.45)
            elif edge:
                pixels[y][x] = border
            else:
                pixels[y][x] = fill


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    cx, cy = ax + t * dx, ay + t * dy
    return math.hypot(px - cx, py - cy)


def check(pixels, colour, points, width):
    """Anti-aliased poly-line (8x8 supersampling per pixel)."""
    half = width / 2.0
    n = 8
    for y in range(2, SIZE - 2):
        for x in range(2, SIZE - 2):
            hits = 0
            for sy in range(n):
                for sx in range(n):
                    px = x + (sx + 0.5) / n
                    py = y + (sy + 0.5) / n
                    d = min(seg_dist(px, py, *points[i], *points[i + 1])
                            for i in range(len(points) - 1))
                    if d <= half:
                        hits += 1
            if hits:
                pixels[y][x] = blend(pixels[y][x], colour, hits / (n * n))


def write_bmp(path, pixels):
    height = len(pixels)
    width = len(pixels[0])
    row_bytes = (width * 3 + 3) & ~3
    image = bytearray()
    for row in reversed(pixels):                      # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))                  # BGR
        line += b"\0" * (row_bytes - len(line))
        image += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0,
                       len(image), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(image),
                         0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + image)


out = sys.argv[1]

# True: grey box with a dark-green check mark.
pix = [[WHITE] * SIZE for _ in range(SIZE)]
box(pix, border=(0x6e, 0x7a, 0x72))
check(pix, colour=(0x17, 0x6b, 0x2c),
      points=[(3.9, 8.2), (6.6, 10.9), (12.1, 4.9)], width=2.5)
write_bmp(os.path.join(out, "True.bmp"), pix)

# False: empty box with a light-grey border.
pix = [[WHITE] * SIZE for _ in range(SIZE)]
box(pix, border=(0xb4, 0xb8, 0xbc))
write_bmp(os.path.join(out, "False.bmp"), pix)
PYEOF

# ---------------------------------------------------------------------------
# 2. Header strips (1600 x 64)
# ---------------------------------------------------------------------------
# The motifs are written in ImageMagick's MVG drawing language.

# Envelope with a sheet of paper sticking out (serial-letter edition).
HEADER_ICON_LETTER="
stroke none fill '#ffffff'
roundrectangle 22,12 44,34 1.5,1.5
fill '#174a6e'
rectangle 26,17 36,18
fill '#7fa8be'
rectangle 26,21 40,21.8
rectangle 26,24.5 40,25.3
fill '#e4f2f3'
polygon 14,27 14,51 50,51 50,27 32,40
fill '#ffffff'
polygon 14,51 28,39 32,42 36,39 50,51
fill none stroke '#174a6e' stroke-width 1.3
polyline 14.6,27.6 32,40.4 49.4,27.6
"

# Database cylinder with three discs (database edition).
HEADER_ICON_DB="
stroke none fill '#ffffff'
rectangle 17,15 47,47
ellipse 32,47 15,5 0,180
fill '#dcedf0'
ellipse 32,15 15,5 0,360
fill none stroke '#174a6e' stroke-width 1.3
ellipse 32,26 15,5 0,180
ellipse 32,37 15,5 0,180
stroke '#9fc9d0' stroke-width 1
ellipse 32,15 15,5 0,360
"

# Faint circles on the right half, a thin accent line along the bottom.
HEADER_DECOR="
stroke none fill '#ffffff0b'
circle 1480,32 1480,150
circle 1330,-40 1330,60
fill '#ffffff07'
circle 1190,90 1190,160
fill '$ACCENT'
rectangle 0,62 1600,63
"

# $1 = output, $2 = title, $3 = tagline, $4 = motif (MVG)
header() {
    title_x=66
    # The tagline is placed right after the measured width of the title.
    width=$("$CONVERT" -font "$FONT_BOLD" -pointsize 25 label:"$2" -trim -format '%w' info:)
    sep=$((title_x + width + 18))
    "$CONVERT" -size 64x1600 gradient:"$BLUE_DARK-$TEAL" -rotate -90 +repage \
        -draw "$HEADER_DECOR" \
        -draw "$4" \
        -stroke none -fill '#ffffff' -font "$FONT_BOLD" -pointsize 25 \
        -annotate +$title_x+41 "$2" \
        -fill '#ffffff50' -draw "rectangle $sep,19 $((sep + 1)),45" \
        -fill "$TAGLINE" -font "$FONT_BOOK" -pointsize 15 \
        -annotate +$((sep + 18))+38 "$3" \
        -depth 8 -strip -define png:color-type=2 "$1"
}

# ---------------------------------------------------------------------------
# 3. Wizard side pictures (164 x 314)
# ---------------------------------------------------------------------------

# A letter sheet half out of an open envelope.
WIZARD_ART_LETTER="
stroke none fill '#00000028'
roundrectangle 31,100 139,174 4,4
fill '#ffffff'
roundrectangle 46,36 118,128 2,2
fill '#174a6e'
rectangle 56,48 92,51
fill '#8fb5c9'
rectangle 56,60 108,61
rectangle 56,67 108,68
rectangle 56,74 102,75
rectangle 56,81 106,82
rectangle 56,88 90,89
fill '#e6f2f4'
polygon 28,96 28,168 136,168 136,96 82,136
fill '#ffffff'
polygon 28,168 71,129 82,137 93,129 136,168
fill none stroke '#174a6e' stroke-width 1.6
polyline 28.8,96.8 82,136.2 135.2,96.8
stroke '#bcd8dc' stroke-width 1
line 29,167.5 71,129.5
line 135,167.5 93,129.5
"

# Database cylinder with three discs and status dots.
WIZARD_ART_DB="
stroke none fill '#00000028'
ellipse 84,172 50,9 0,360
fill '#ffffff'
rectangle 40,58 124,160
ellipse 82,160 42,13 0,180
fill '#dcedf0'
ellipse 82,58 42,13 0,360
fill none stroke '#174a6e' stroke-width 1.6
ellipse 82,92 42,13 0,180
ellipse 82,126 42,13 0,180
stroke '#9fc9d0' stroke-width 1.2
ellipse 82,58 42,13 0,360
stroke none fill '$TEAL'
circle 108,84 108,87.5
circle 108,118 108,121.5
circle 108,152 108,155.5
fill '#8fb5c9'
rectangle 52,82 84,84
rectangle 52,116 84,118
rectangle 52,150 84,152
"

WIZARD_DECOR="
stroke none fill '#ffffff0c'
circle 150,20 150,110
circle 10,300 10,360
fill '$ACCENT'
rectangle 30,216 134,217
"

# $1 = output, $2 = edition word, $3 = subline, $4 = motif (MVG)
wizard() {
    "$CONVERT" -size 164x314 gradient:"$BLUE_DARK-$TEAL" \
        -draw "$WIZARD_DECOR" \
        -draw "$4" \
        -gravity North -stroke none -fill '#ffffff' -font "$FONT_BOLD" \
        -pointsize 27 -annotate +0+226 'Quillon' \
        -pointsize 18 -annotate +0+262 "$2" \
        -fill "$TAGLINE" -font "$FONT_BOOK" -pointsize 10 \
        -annotate +0+291 "$3" \
        -depth 8 -strip -define png:color-type=2 "$1"
}

header "$PICS/header_sb.png" "Quillon Serienbrief" \
    "Adressen verwalten – Serienbriefe schreiben" "$HEADER_ICON_LETTER"
header "$PICS/header_db.png" "Quillon Datenbank" \
    "Adressen verwalten, filtern, exportieren" "$HEADER_ICON_DB"

wizard "$PICS/wizard_sb.png" "Serienbrief" "Briefe · Etiketten · Umschläge" "$WIZARD_ART_LETTER"
wizard "$PICS/wizard_db.png" "Datenbank" "Adressen · Filter · Export" "$WIZARD_ART_DB"

echo "Bilder erzeugt in $IMAGES und $PICS"
