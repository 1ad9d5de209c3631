#!/usr/bin/env python3
"""Writes a small animated Flash movie (ActionScript 1/2, no compression by
default): a coloured square that moves across a backdrop, one position per
frame. Used for the demo package and for trying the Flash host by hand.

    make_demo_swf.py OUT.swf [--frames 24] [--fps 12] [--width 320] [--height 240] [--cws]
"""
import argparse
import struct
import zlib


class Bits:
    def __init__(self):
        self.bits = []

    def put(self, value, width):
        for i in range(width - 1, -1, -1):
            self.bits.append((value >> i) & 1)

    def put_signed(self, value, width):
        self.put(value & ((1 << width) - 1), width)

    def bytes(self):
        bits = self.bits + [0] * (-len(self.bits) % 8)
        return bytes(int("".join(map(str, bits[i:i + 8])), 2) for i in range(0, len(bits), 8))


def signed_bits(*values):
    return max(max(abs(v) for v in values).bit_length() + 1, 2)


def rect(xmin, xmax, ymin, ymax):
    n = signed_bits(xmin, xmax, ymin, ymax)
    b = Bits()
    b.put(n, 5)
    for v in (xmin, xmax, ymin, ymax):
        b.put_signed(v, n)
    return b.bytes()


def tag(code, data=b""):
    if len(data) < 0x3F:
        return struct.pack("<H", code << 6 | len(data)) + data
    return struct.pack("<HI", code << 6 | 0x3F, len(data)) + data


def square_shape(shape_id, size, rgb):
    """DefineShape: a filled square of `size` twips with its corner at the origin."""
    b = Bits()
    b.put(1, 4)  # fill bits
    b.put(0, 4)  # line bits
    # Style change: select fill style 1, no move.
    b.put(0, 1); b.put(0, 1); b.put(0, 1); b.put(1, 1); b.put(0, 1); b.put(0, 1)
    b.put(1, 1)
    n = signed_bits(size)
    for dx, dy in ((size, 0), (0, size), (-size, 0), (0, -size)):
        b.put(1, 1); b.put(1, 1); b.put(n - 2, 4)  # straight edge
        b.put(0, 1)  # not general: vertical or horizontal
        b.put(1 if dx == 0 else 0, 1)
        b.put_signed(dy if dx == 0 else dx, n)
    b.put(0, 6)  # end of shape
    fills = bytes([1, 0x00]) + bytes(rgb) + bytes([0])  # one solid fill, no line styles
    return tag(2, struct.pack("<H", shape_id) + rect(0, size, 0, size) + fills + b.bytes())


def matrix(x, y):
    n = signed_bits(x, y)
    b = Bits()
    b.put(0, 1); b.put(0, 1); b.put(n, 5)
    b.put_signed(x, n); b.put_signed(y, n)
    return b.bytes()


def movie(frames, fps, width, height):
    tw, th = width * 20, height * 20
    size = min(tw, th) // 3
    body = rect(0, tw, 0, th) + struct.pack("<HH", int(fps * 256) & 0xFFFF, frames)
    body += tag(69, struct.pack("<I", 0))  # FileAttributes: ActionScript 1/2, no network
    body += tag(9, bytes([0x20, 0x40, 0x80]))  # background colour
    body += square_shape(1, size, (0xF0, 0xC0, 0x20))
    for f in range(frames):
        x = (tw - size) * f // max(frames - 1, 1)
        y = (th - size) // 2
        flags = 0x06 if f == 0 else 0x05  # character + matrix, then move + matrix
        place = bytes([flags]) + struct.pack("<H", 1)
        if f == 0:
            place += struct.pack("<H", 1)
        body += tag(26, place + matrix(x, y))
        body += tag(1)
    body += tag(0)
    return body


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("out")
    parser.add_argument("--frames", type=int, default=24)
    parser.add_argument("--fps", type=float, default=12)
    parser.add_argument("--width", type=int, default=320)
    parser.add_argument("--height", type=int, default=240)
    parser.add_argument("--cws", action="store_true", help="compress with zlib")
    args = parser.parse_args()
    body = movie(args.frames, args.fps, args.width, args.height)
    version = 8
    length = struct.pack("<I", 8 + len(body))
    data = (b"CWS" + bytes([version]) + length + zlib.compress(body)) if args.cws else \
        (b"FWS" + bytes([version]) + length + body)
    with open(args.out, "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
