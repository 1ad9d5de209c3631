#!/usr/bin/env python3
"""Draws two test pictures of our own (a cool radial gradient with a grid and
a warm pattern of diagonal bands with a ring) and has `scrtool sheet` render
the contact sheet of all 128 transition styles from the first to the second.

usage: make-transitions-sheet.py [--scrtool PATH] [--progress P] [-o OUT.png]
"""
import argparse
import math
import os
import struct
import subprocess
import tempfile
import zlib

W, H = 320, 240


def write_png(path, pixel):
    rows = bytearray()
    for y in range(H):
        rows.append(0)
        for x in range(W):
            rows.extend(pixel(x, y))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(bytes(rows), 9)))
        f.write(chunk(b"IEND", b""))


def old_picture(x, y):
    d = math.hypot(x - W * 0.35, y - H * 0.4) / math.hypot(W, H)
    r, g, b = 30 + 60 * d, 70 + 120 * (1 - d), 160 + 90 * (1 - d)
    if x % 40 == 0 or y % 40 == 0:
        r, g, b = 230, 235, 245
    return bytes((int(r), int(g), int(min(b, 255))))


def new_picture(x, y):
    band = ((x + y) // 24) % 2
    r, g, b = (250, 170, 40) if band else (200, 60, 50)
    d = math.hypot(x - W * 0.6, y - H * 0.55)
    if 60 < d < 78:
        r, g, b = 250, 245, 220
    return bytes((r, g, b))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser()
    parser.add_argument("--scrtool", default=os.path.join(here, "..", "build", "bin", "scrtool"))
    parser.add_argument("--progress", default="50")
    parser.add_argument("-o", default=os.path.join(here, "..", "docs", "transitions-sheet.png"))
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as tmp:
        old, new = os.path.join(tmp, "old.png"), os.path.join(tmp, "new.png")
        write_png(old, old_picture)
        write_png(new, new_picture)
        subprocess.run([args.scrtool, "sheet", "--progress", args.progress, old, new, "-o", args.o], check=True)


if __name__ == "__main__":
    main()
