#!/usr/bin/env python3
"""Draws the pictures of the dialogs' skinned frame and the program icon.

usage: draw_skin.py OUTPUT_DIR

Writes, at the sizes the frame expects:
  XTOP_0, XTOP_1      JPEG  title bar left (81 x 49) and right (94 x 49), active
  XTOP_2, XTOP_3      JPEG  the same, inactive
  XVTIMG_4, XVTIMG_5  BMP   title bar middle (1 x 49), active and inactive, stretched
  XVTIMG_6, XVTIMG_7  BMP   left (10 x 1) and right (13 x 1) border, stretched
  XVTIMG_8..10        BMP   bottom border: left (10 x 12), middle (1 x 12), right (13 x 12)
  XVTIMG_11, _12      BMP   close button (17 x 19), normal and under the mouse
  MAINICON            PNG   the program icon (64 x 64, transparent)
  XJPEGXFLASH         JPEG  placeholder thumbnail of a Flash movie (100 x 80)

The whole frame is one drawing (frame_pixel) of a window of any size; every
piece is cut from it, so the pieces always meet seamlessly.
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFilter

# Measures of the frame (pixels).
TITLE_H = 49
LEFT_W = 10
RIGHT_W = 13
BOTTOM_H = 12
TITLE_LEFT_W = 81
TITLE_RIGHT_W = 94
BAND_END = 40          # last row of the coloured title band
CLOSE_W, CLOSE_H = 17, 19
CLOSE_TOP = 5
CLOSE_FROM_RIGHT = 38

OUTLINE = (0x27, 0x2F, 0x3A)
FRAME_BODY = (0xE3, 0xE6, 0xEA)
FRAME_LIGHT = (0xF7, 0xF8, 0xFA)
FRAME_SHADE = (0xC9, 0xCE, 0xD4)
FRAME_INNER = (0xA4, 0xAB, 0xB5)

# Title band colours: (top, bottom, highlight row, base row)
BANDS = {
    True: ((0x4E, 0x86, 0xC8), (0x2C, 0x5E, 0x9E), (0x7F, 0xAA, 0xDD), (0x1F, 0x47, 0x7C)),
    False: ((0xA3, 0xAB, 0xB6), (0x86, 0x90, 0x9C), (0xC2, 0xC8, 0xD0), (0x6E, 0x77, 0x83)),
}


def mix(a, b, t):
    """Colour between a (t = 0) and b (t = 1)."""
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def band_colour(y, active):
    top, bottom, highlight, base = BANDS[active]
    if y == 1:
        return highlight
    if y == BAND_END:
        return base
    return mix(top, bottom, (y - 2) / (BAND_END - 3))


def frame_pixel(x, y, w, h, active):
    """Colour of the frame at (x, y) of a w x h window; None inside the content area."""
    if x == 0 or y == 0 or x == w - 1 or y == h - 1:
        return OUTLINE
    if y <= BAND_END:
        return band_colour(y, active)
    left, right = LEFT_W, w - RIGHT_W - 1           # content columns
    top, bottom = TITLE_H, h - BOTTOM_H - 1         # content rows
    if left <= x <= right and top <= y <= bottom:
        return None
    on_ring_x = left - 1 <= x <= right + 1
    on_ring_y = top - 1 <= y <= bottom + 1
    if (on_ring_y and x in (left - 1, right + 1)) or (on_ring_x and y in (top - 1, bottom + 1)):
        return FRAME_INNER
    if x == w - 2 or y == h - 2:
        return FRAME_SHADE
    if x == 1 or y == BAND_END + 1:
        return FRAME_LIGHT
    return FRAME_BODY


def frame_piece(x0, y0, pw, ph, w, h, active=True):
    image = Image.new("RGB", (pw, ph))
    pixels = image.load()
    for y in range(ph):
        for x in range(pw):
            colour = frame_pixel(x0 + x, y0 + y, w, h, active)
            pixels[x, y] = colour if colour is not None else FRAME_BODY
    return image


def supersampled(size, draw, factor=8):
    """An RGBA picture drawn at `factor` times the size and reduced, for smooth edges."""
    big = Image.new("RGBA", (size[0] * factor, size[1] * factor), (0, 0, 0, 0))
    draw(ImageDraw.Draw(big), factor)
    return big.resize(size, Image.LANCZOS)


def icon_plate(image, active):
    """A soft rounded plate behind the application icon in the title's left part."""
    top, bottom, highlight, _ = BANDS[active]
    fill = mix(mix(top, bottom, 0.5), (255, 255, 255), 0.13)
    edge = mix(highlight, (255, 255, 255), 0.25)

    def draw(d, f):
        d.rounded_rectangle((5 * f, 2 * f, 45 * f - 1, 40 * f - 1), radius=8 * f,
                            fill=fill + (150,), outline=edge + (170,), width=f)

    plate = supersampled((TITLE_LEFT_W, TITLE_H), draw)
    # The plate stays inside the band.
    mask = Image.new("L", (TITLE_LEFT_W, TITLE_H), 0)
    ImageDraw.Draw(mask).rectangle((1, 2, TITLE_LEFT_W - 1, BAND_END - 1), fill=255)
    alpha = Image.composite(plate.getchannel("A"), mask, mask)
    image.paste(plate.convert("RGB"), (0, 0), alpha)


def divider(image, active, x=63):
    """A short engraved line between the icon and the caption text, fading at both ends."""
    pixels = image.load()
    _, _, highlight, base = BANDS[active]
    top, bottom = 9, 32
    for y in range(top, bottom + 1):
        fade = min(1.0, (y - top + 1) / 6, (bottom - y + 1) / 6)
        pixels[x, y] = mix(pixels[x, y], base, 0.75 * fade)
        pixels[x + 1, y] = mix(pixels[x + 1, y], highlight, 0.55 * fade)


def title_pieces(active):
    w, h = 400, 200
    left = frame_piece(0, 0, TITLE_LEFT_W, TITLE_H, w, h, active)
    icon_plate(left, active)
    divider(left, active)
    right = frame_piece(w - TITLE_RIGHT_W, 0, TITLE_RIGHT_W, TITLE_H, w, h, active)
    middle = frame_piece(200, 0, 1, TITLE_H, w, h, active)
    return left, right, middle


def close_button(hot):
    """The close button: a small tile with a cross; red when the mouse is over it."""
    if hot:
        fill, edge, cross, shine = (0xE0, 0x45, 0x3A), (0xA8, 0x2C, 0x24), (255, 255, 255), (0xF0, 0x7A, 0x70)
    else:
        fill, edge, cross, shine = (0x3A, 0x47, 0x58), (0x22, 0x2B, 0x36), (0xE8, 0xEC, 0xF1), (0x59, 0x67, 0x79)
    image = Image.new("RGB", (CLOSE_W, CLOSE_H), fill)
    d = ImageDraw.Draw(image)
    d.rectangle((0, 0, CLOSE_W - 1, CLOSE_H - 1), outline=edge)
    d.line((1, 1, CLOSE_W - 2, 1), fill=shine)

    def draw(dd, f):
        a, b = 5.0, CLOSE_W - 5.0
        ta, tb = 6.0, CLOSE_H - 6.0
        width = round(1.7 * f)
        dd.line((a * f, ta * f, b * f, tb * f), fill=cross + (255,), width=width)
        dd.line((a * f, tb * f, b * f, ta * f), fill=cross + (255,), width=width)

    glyph = supersampled((CLOSE_W, CLOSE_H), draw)
    image.paste(glyph.convert("RGB"), (0, 0), glyph.getchannel("A"))
    return image


def program_icon(size=64):
    """The program icon: a night sky with an aurora and a crescent moon on a rounded tile."""
    factor = 4
    s = size * factor
    sky = Image.new("RGBA", (s, s))
    pixels = sky.load()
    for y in range(s):
        t = y / (s - 1)
        colour = mix((0x1B, 0x1F, 0x4B), (0x13, 0x5E, 0x7A), t)
        for x in range(s):
            pixels[x, y] = colour + (255,)
    aurora = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    d = ImageDraw.Draw(aurora)
    for i, (colour, offset) in enumerate((((0x4C, 0xF0, 0xB0), 0), ((0x7A, 0xC8, 0xFF), 26))):
        points = []
        for k in range(0, s + 1, 4):
            import math
            yy = s * 0.55 + offset - math.sin(k / s * math.pi * 1.6 + i) * s * 0.12 - k * 0.18
            points.append((k, yy))
        d.line(points, fill=colour + (200,), width=int(s * 0.07))
    aurora = aurora.filter(ImageFilter.GaussianBlur(s * 0.035))
    sky = Image.alpha_composite(sky, aurora)
    d = ImageDraw.Draw(sky)
    # crescent moon
    r = s * 0.14
    cx, cy = s * 0.70, s * 0.27
    d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=(0xFF, 0xF4, 0xD0, 255))
    d.ellipse((cx - r * 0.45, cy - r * 1.15, cx + r * 1.35, cy + r * 0.65), fill=mix((0x1B, 0x1F, 0x4B), (0x13, 0x5E, 0x7A), 0.22) + (255,))
    for (sx, sy, sr) in ((0.22, 0.20, 0.018), (0.38, 0.12, 0.012), (0.50, 0.30, 0.010), (0.16, 0.42, 0.011)):
        d.ellipse((s * (sx - sr), s * (sy - sr), s * (sx + sr), s * (sy + sr)), fill=(255, 255, 255, 235))
    # rounded tile with a fine light edge
    mask = Image.new("L", (s, s), 0)
    ImageDraw.Draw(mask).rounded_rectangle((s * 0.03, s * 0.03, s * 0.97, s * 0.97), radius=s * 0.2, fill=255)
    tile = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    tile.paste(sky, (0, 0), mask)
    ImageDraw.Draw(tile).rounded_rectangle((s * 0.03, s * 0.03, s * 0.97, s * 0.97), radius=s * 0.2,
                                           outline=(255, 255, 255, 90), width=factor * 2)
    return tile.resize((size, size), Image.LANCZOS)


def flash_placeholder(size=(100, 80)):
    """The thumbnail shown for a Flash movie: a film frame with a play sign."""
    factor = 4
    w, h = size[0] * factor, size[1] * factor
    image = Image.new("RGB", (w, h))
    pixels = image.load()
    for y in range(h):
        colour = mix((0x2D, 0x36, 0x45), (0x1A, 0x20, 0x2A), y / (h - 1))
        for x in range(w):
            pixels[x, y] = colour
    d = ImageDraw.Draw(image)
    # sprocket holes along the top and bottom edges
    hole_w, hole_h = 6 * factor, 4 * factor
    for k in range(7):
        x = (6 + k * 14) * factor
        for y in (4 * factor, h - 4 * factor - hole_h):
            d.rounded_rectangle((x, y, x + hole_w, y + hole_h), radius=factor, fill=(0x5A, 0x66, 0x78))
    # the picture area and a play sign in a disc
    d.rounded_rectangle((8 * factor, 13 * factor, w - 8 * factor, h - 13 * factor), radius=3 * factor,
                        fill=(0x27, 0x5E, 0x9C))
    cx, cy, r = w / 2, h / 2, 15 * factor
    d.ellipse((cx - r, cy - r, cx + r, cy + r), fill=(0xF2, 0xF5, 0xF9))
    t = 7 * factor
    d.polygon(((cx - t * 0.6, cy - t), (cx - t * 0.6, cy + t), (cx + t, cy)), fill=(0x27, 0x5E, 0x9C))
    return image.resize(size, Image.LANCZOS)


def save(image, path, kind):
    temporary = path + ".part"
    if kind == "JPEG":
        image.save(temporary, "JPEG", quality=100, subsampling=0)
    else:
        image.save(temporary, kind)
    os.replace(temporary, path)


def main():
    if len(sys.argv) != 2:
        print(__doc__, file=sys.stderr)
        return 2
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    path = lambda name: os.path.join(out, name)

    for active, (left_name, right_name, middle_name) in ((True, ("XTOP_0", "XTOP_1", "XVTIMG_4")),
                                                          (False, ("XTOP_2", "XTOP_3", "XVTIMG_5"))):
        left, right, middle = title_pieces(active)
        save(left, path(left_name), "JPEG")
        save(right, path(right_name), "JPEG")
        save(middle, path(middle_name), "BMP")

    w, h = 400, 200
    save(frame_piece(0, 100, LEFT_W, 1, w, h), path("XVTIMG_6"), "BMP")
    save(frame_piece(w - RIGHT_W, 100, RIGHT_W, 1, w, h), path("XVTIMG_7"), "BMP")
    save(frame_piece(0, h - BOTTOM_H, LEFT_W, BOTTOM_H, w, h), path("XVTIMG_8"), "BMP")
    save(frame_piece(200, h - BOTTOM_H, 1, BOTTOM_H, w, h), path("XVTIMG_9"), "BMP")
    save(frame_piece(w - RIGHT_W, h - BOTTOM_H, RIGHT_W, BOTTOM_H, w, h), path("XVTIMG_10"), "BMP")
    save(close_button(False), path("XVTIMG_11"), "BMP")
    save(close_button(True), path("XVTIMG_12"), "BMP")
    save(program_icon(), path("MAINICON"), "PNG")
    save(flash_placeholder(), path("XJPEGXFLASH"), "JPEG")
    return 0


if __name__ == "__main__":
    sys.exit(main())
