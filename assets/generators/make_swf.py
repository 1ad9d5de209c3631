#!/usr/bin/env python3
"""Writes the Flash movies the demo, the benchmarks and hand tests play.

Uncompressed (or zlib- or LZMA-compressed) SWF files built from first principles: the
header, the background colour, shapes, and per frame a PlaceObject2 that moves
them and a ShowFrame.

    make_swf.py orbits OUT.swf
        The demo's movie: glowing orbs circling a pulsing sun (SWF 6, 640x400,
        24 fps, 144 frames). The orbit periods divide the frame count, so the
        movie loops without a seam.
    make_swf.py square OUT.swf [--frames 24] [--fps 12] [--width 320] [--height 240] [--cws | --zws]
        A coloured square crossing the stage, one position per frame
        (ActionScript 1/2, SWF 8); --cws compresses it with zlib, --zws with
        LZMA (a "ZWS" movie, SWF 13: the compressed length, the five LZMA
        properties, then the raw LZMA data without the .lzma size field).
"""

import argparse
import math
import os
import struct
import lzma
import zlib

# The demo movie.
WIDTH, HEIGHT = 640, 400  # pixels
FPS = 24
FRAMES = 144  # six seconds
TWIPS = 20  # twips per pixel
BACKGROUND = (0x0B, 0x10, 0x30)


class BitWriter:
    """Packs values most significant bit first, as SWF records are packed."""

    def __init__(self):
        self.out = bytearray()
        self.acc = 0
        self.bits = 0

    def ubits(self, value, count):
        for i in range(count - 1, -1, -1):
            self.acc = (self.acc << 1) | ((value >> i) & 1)
            self.bits += 1
            if self.bits == 8:
                self.out.append(self.acc)
                self.acc = self.bits = 0

    def sbits(self, value, count):
        self.ubits(value & ((1 << count) - 1), count)

    def align(self):
        if self.bits:
            self.ubits(0, 8 - self.bits)

    def data(self):
        self.align()
        return bytes(self.out)


def signed_bits(*values):
    """Bits needed to hold every value as a signed field."""
    return max(max(abs(v) for v in values).bit_length() + 1, 2)


def rect(xmin, xmax, ymin, ymax):
    w = BitWriter()
    n = signed_bits(xmin, xmax, ymin, ymax)
    w.ubits(n, 5)
    for v in (xmin, xmax, ymin, ymax):
        w.sbits(v, n)
    return w.data()


def matrix(tx, ty, scale=None):
    """A translation by (tx, ty) twips, optionally scaled by one factor or by an
    (x, y) pair of factors."""
    w = BitWriter()
    if scale is None:
        w.ubits(0, 1)
    else:
        sx, sy = scale if isinstance(scale, tuple) else (scale, scale)
        fixed = (int(round(sx * 65536)), int(round(sy * 65536)))
        n = signed_bits(*fixed)
        w.ubits(1, 1)
        w.ubits(n, 5)
        w.sbits(fixed[0], n)
        w.sbits(fixed[1], n)
    w.ubits(0, 1)  # no rotation
    n = signed_bits(tx, ty)
    w.ubits(n, 5)
    w.sbits(tx, n)
    w.sbits(ty, n)
    return w.data()


def tag(code, body):
    if len(body) < 0x3F:
        return struct.pack('<H', (code << 6) | len(body)) + body
    return struct.pack('<HI', (code << 6) | 0x3F, len(body)) + body


def circle_edges(w, radius):
    """A circle of the given radius (twips) around the origin as eight quadratic
    curves, starting at (radius, 0)."""
    points = []
    for i in range(8):
        a0, a1 = i * math.pi / 4, (i + 1) * math.pi / 4
        am = (a0 + a1) / 2
        control = (radius / math.cos(math.pi / 8) * math.cos(am), radius / math.cos(math.pi / 8) * math.sin(am))
        anchor = (radius * math.cos(a1), radius * math.sin(a1))
        points.append((control, anchor))
    x, y = radius, 0
    for (cx, cy), (ax, ay) in points:
        cx, cy, ax, ay = round(cx), round(cy), round(ax), round(ay)
        dcx, dcy, dax, day = cx - x, cy - y, ax - cx, ay - cy
        n = signed_bits(dcx, dcy, dax, day)
        w.ubits(1, 1)  # edge record
        w.ubits(0, 1)  # curved
        w.ubits(n - 2, 4)
        for v in (dcx, dcy, dax, day):
            w.sbits(v, n)
        x, y = ax, ay
    # Close exactly at the start point despite rounding.
    if (x, y) != (radius, 0):
        dx, dy = radius - x, -y
        n = signed_bits(dx, dy)
        w.ubits(1, 1)
        w.ubits(1, 1)  # straight
        w.ubits(n - 2, 4)
        w.ubits(1, 1)  # general line
        w.sbits(dx, n)
        w.sbits(dy, n)


def shape_start(w, radius, fill, line):
    """A style-change record that moves to (radius, 0) and selects the styles."""
    w.ubits(0, 1)  # non-edge record
    w.ubits(0, 1)  # no new styles
    w.ubits(1 if line else 0, 1)
    w.ubits(1 if fill else 0, 1)  # fill style 1
    w.ubits(0, 1)  # fill style 0 unchanged
    w.ubits(1, 1)  # move to
    n = signed_bits(radius)
    w.ubits(n, 5)
    w.sbits(radius, n)
    w.sbits(0, n)
    if fill:
        w.ubits(1, 1)
    if line:
        w.ubits(1, 1)


def define_orb(shape_id, radius_px, inner, outer):
    """A disc with a radial gradient from `inner` at the centre to `outer` (the
    background colour) at the rim, so the orb seems to glow."""
    r = radius_px * TWIPS
    body = struct.pack('<H', shape_id) + rect(-r, r, -r, r)
    fills = bytes([1, 0x12]) + matrix(0, 0, scale=2 * r / 32768)
    fills += bytes([3, 0]) + bytes(inner) + bytes([110]) + bytes(inner) + bytes([255]) + bytes(outer)
    body += fills + bytes([0])  # no line styles
    w = BitWriter()
    w.ubits(1, 4)  # fill index bits
    w.ubits(0, 4)  # line index bits
    shape_start(w, r, fill=True, line=False)
    circle_edges(w, r)
    w.ubits(0, 6)  # end of shape
    return tag(2, body + w.data())


def define_ring(shape_id, radius_px, colour):
    r = radius_px * TWIPS
    body = struct.pack('<H', shape_id) + rect(-r - 40, r + 40, -r - 40, r + 40)
    body += bytes([0]) + bytes([1]) + struct.pack('<H', 30) + bytes(colour)
    w = BitWriter()
    w.ubits(0, 4)
    w.ubits(1, 4)
    shape_start(w, r, fill=False, line=True)
    circle_edges(w, r)
    w.ubits(0, 6)
    return tag(2, body + w.data())


def place(depth, x_px, y_px, shape_id=None, scale=None):
    flags = 0x04 | (0x02 if shape_id is not None else 0x01)
    body = bytes([flags]) + struct.pack('<H', depth)
    if shape_id is not None:
        body += struct.pack('<H', shape_id)
    body += matrix(round(x_px * TWIPS), round(y_px * TWIPS), scale)
    return tag(26, body)


def swf_file(version, body, compressed):
    """The file: signature, version, uncompressed length, then the body.
    `compressed` is False, 'zlib' (or True) or 'lzma'."""
    length = struct.pack('<I', 8 + len(body))
    if compressed == 'lzma':
        # The .lzma ("alone") form is 5 property bytes, an 8-byte size, the data.
        alone = lzma.compress(body, format=lzma.FORMAT_ALONE)
        properties, data = alone[:5], alone[13:]
        return b'ZWS' + bytes([max(version, 13)]) + length + struct.pack('<I', len(data)) + properties + data
    if compressed:
        return b'CWS' + bytes([version]) + length + zlib.compress(body)
    return b'FWS' + bytes([version]) + length + body


def define_square(shape_id, size, rgb):
    """A filled square of `size` twips with its corner at the origin."""
    w = BitWriter()
    w.ubits(1, 4)  # fill index bits
    w.ubits(0, 4)  # line index bits
    # Style change: select fill style 1, no move.
    for bit in (0, 0, 0, 1, 0, 0, 1):
        w.ubits(bit, 1)
    n = signed_bits(size)
    for dx, dy in ((size, 0), (0, size), (-size, 0), (0, -size)):
        w.ubits(1, 1)  # edge record
        w.ubits(1, 1)  # straight
        w.ubits(n - 2, 4)
        w.ubits(0, 1)  # not general: vertical or horizontal
        w.ubits(1 if dx == 0 else 0, 1)
        w.sbits(dy if dx == 0 else dx, n)
    w.ubits(0, 6)  # end of shape
    fills = bytes([1, 0x00]) + bytes(rgb) + bytes([0])  # one solid fill, no line styles
    return tag(2, struct.pack('<H', shape_id) + rect(0, size, 0, size) + fills + w.data())


def square_movie(frames, fps, width, height, compressed, background=(0x20, 0x40, 0x80)):
    tw, th = width * TWIPS, height * TWIPS
    size = min(tw, th) // 3
    body = rect(0, tw, 0, th) + struct.pack('<HH', int(fps * 256) & 0xFFFF, frames)
    body += tag(69, struct.pack('<I', 0))  # FileAttributes: ActionScript 1/2, no network
    body += tag(9, bytes(background))  # background colour
    body += define_square(1, size, (0xF0, 0xC0, 0x20))
    for f in range(frames):
        x = (tw - size) * f // max(frames - 1, 1)
        y = (th - size) // 2
        flags = 0x06 if f == 0 else 0x05  # character + matrix, then move + matrix
        place_body = bytes([flags]) + struct.pack('<H', 1)
        if f == 0:
            place_body += struct.pack('<H', 1)
        body += tag(26, place_body + matrix(x, y))
        body += tag(1, b'')
    body += tag(0, b'')
    return swf_file(8, body, compressed)


# Orbs: (radius px, centre colour, orbit radius px, orbit turns per loop, phase).
ORBS = [
    (20, (0x7F, 0xE7, 0xFF), 95, 2, 0.0),
    (16, (0xFF, 0x6F, 0xB5), 150, -1, 0.25),
    (24, (0x9C, 0xFF, 0x8A), 205, 1, 0.6),
    (13, (0xC8, 0x9B, 0xFF), 150, 3, 0.5),
    (18, (0xFF, 0xB8, 0x5C), 205, -2, 0.1),
]
SUN = (52, (0xFF, 0xF4, 0xC8))
CENTRE = (WIDTH / 2, HEIGHT / 2)
SQUASH = 0.55  # orbits seen at a slant


def orbit_position(orbit, turns, phase, frame):
    angle = 2 * math.pi * (phase + turns * frame / FRAMES)
    return CENTRE[0] + orbit * math.cos(angle), CENTRE[1] + orbit * SQUASH * math.sin(angle)


def orbits_movie():
    tags = [tag(9, bytes(BACKGROUND))]
    tags.append(define_orb(1, SUN[0], SUN[1], BACKGROUND))
    for i, (radius, colour, _, _, _) in enumerate(ORBS):
        tags.append(define_orb(2 + i, radius, colour, BACKGROUND))
    ring_id = 2 + len(ORBS)
    tags.append(define_ring(ring_id, 100, (0x2E, 0x3A, 0x6E)))
    for frame in range(FRAMES):
        first = frame == 0
        if first:
            # Rings: one shape, squashed and scaled to trace each orbit.
            for depth, orbit in enumerate((95, 150, 205), start=1):
                tags.append(place(depth, *CENTRE, shape_id=ring_id, scale=(orbit / 100, orbit * SQUASH / 100)))
        pulse = 1.0 + 0.08 * math.sin(2 * math.pi * 2 * frame / FRAMES)
        tags.append(place(10, *CENTRE, shape_id=1 if first else None, scale=pulse))
        for i, (_, _, orbit, turns, phase) in enumerate(ORBS):
            x, y = orbit_position(orbit, turns, phase, frame)
            tags.append(place(20 + i, x, y, shape_id=2 + i if first else None))
        tags.append(tag(1, b''))
    tags.append(tag(0, b''))
    body = rect(0, WIDTH * TWIPS, 0, HEIGHT * TWIPS) + struct.pack('<BBH', 0, FPS, FRAMES) + b''.join(tags)
    return swf_file(6, body, compressed=False)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument('movie', choices=('orbits', 'square'))
    parser.add_argument('out')
    parser.add_argument('--frames', type=int, default=24)
    parser.add_argument('--fps', type=float, default=12)
    parser.add_argument('--width', type=int, default=320)
    parser.add_argument('--height', type=int, default=240)
    parser.add_argument('--background', default='204080', help='the stage colour as RRGGBB (square)')
    compression = parser.add_mutually_exclusive_group()
    compression.add_argument('--cws', action='store_true', help='compress with zlib')
    compression.add_argument('--zws', action='store_true', help='compress with LZMA')
    args = parser.parse_args()
    if args.movie == 'orbits':
        data = orbits_movie()
    else:
        data = square_movie(args.frames, args.fps, args.width, args.height,
                            'lzma' if args.zws else 'zlib' if args.cws else False,
                            bytes.fromhex(args.background))
    # Written whole, then renamed: a build never sees half a movie.
    partial = args.out + '.part'
    with open(partial, 'wb') as f:
        f.write(data)
    os.replace(partial, args.out)


if __name__ == '__main__':
    main()
