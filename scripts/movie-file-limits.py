#!/usr/bin/env python3
"""Measures how `scrtool info` answers damaged movie files: the exit status,
the wall time and the peak resident memory of each refusal, and the line it
prints. The figures are written down in docs/performance.md (section
"Refusing damaged movie files"); each refusal must come within 5 s and under
200 MB, the 1 GB zlib bomb under 300 MB. Exits 1 when one does not.

The files are made here: a Windows projector trailer whose length points
outside the file, a projector magic with a length of 0, a zlib movie whose
stream inflates on for 1 GB past its declared length, LZMA properties that
are not valid, 64 MB of overlapping movie headers, a 2 GB sparse file, a
folder named .app without its movie, and a 1 GB zlib bomb.

Usage: scripts/movie-file-limits.py [BUILD_DIR]
"""
import os
import struct
import subprocess
import sys
import tempfile
import time
import zlib

MAGIC = struct.pack('<I', 0xFA123456)
PE_STUB = b'MZ' + b'\0' * 510
SECONDS = 5.0
MEGABYTES = 200
BOMB_MEGABYTES = 300


def zeros_stream(total):
    """A zlib stream of `total` zero bytes, compressed a megabyte at a time."""
    compressor = zlib.compressobj(9)
    chunk = b'\0' * (1 << 20)
    parts = []
    for _ in range(total >> 20):
        parts.append(compressor.compress(chunk))
    parts.append(compressor.flush())
    return b''.join(parts)


def minimal_body():
    """A movie body: a 10 x 10 stage, 12 fps, one frame, ShowFrame, End."""
    rect = bytes([0x50, 0x00, 0x0C, 0x80, 0x00, 0x32, 0x00])  # 10 bits: 0, 200, 0, 200 twips
    return rect + struct.pack('<BBH', 0, 12, 1) + struct.pack('<H', 1 << 6) + struct.pack('<H', 0)


def make_files(work):
    files = []

    def add(name, data, bomb=False):
        path = os.path.join(work, name)
        with open(path, 'wb') as out:
            out.write(data)
        files.append((name, path, bomb))

    add('lying-trailer.exe', PE_STUB + MAGIC + struct.pack('<I', 0xFFFFFF00))
    add('zero-length.exe', PE_STUB + b'FWS' + MAGIC + struct.pack('<I', 0))
    body = minimal_body()
    # The body, then a gigabyte more in the same stream.
    compressor = zlib.compressobj(9)
    stream = compressor.compress(body)
    chunk = b'\0' * (1 << 20)
    for _ in range(1024):
        stream += compressor.compress(chunk)
    stream += compressor.flush()
    add('endless.swf', b'CWS\x0a' + struct.pack('<I', 8 + len(body)) + stream, bomb=True)
    add('bad-lzma.swf', b'ZWS\x0d' + struct.pack('<II', 8 + len(body), 40) + b'\xff' * 5 + b'\0' * 40)
    add('overlapping.exe', PE_STUB + (b'FWS\x09' + struct.pack('<I', 1 << 12)) * (8 << 20))
    sparse = os.path.join(work, 'sparse-2gb.exe')
    with open(sparse, 'wb') as out:
        out.write(PE_STUB)
        out.truncate(2 << 30)
    files.append(('sparse-2gb.exe', sparse, False))
    app = os.path.join(work, 'Empty.app')
    os.makedirs(os.path.join(app, 'Contents', 'MacOS'))
    files.append(('Empty.app', app, False))
    add('bomb-1gb.swf', b'CWS\x0a' + struct.pack('<I', (1 << 30) + 8) + zeros_stream(1 << 30), bomb=True)
    return files


def main():
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else 'build')
    scrtool = os.path.join(build, 'bin', 'scrtool')
    failed = False
    with tempfile.TemporaryDirectory() as work:
        files = make_files(work)
        print(f"{'file':20} {'status':>6} {'seconds':>8} {'peak MB':>8}  message")
        for name, path, bomb in files:
            started = time.monotonic()
            run = subprocess.run(['/usr/bin/time', '-f', '%M', scrtool, 'info', path],
                                 capture_output=True, text=True)
            seconds = time.monotonic() - started
            # time(1) adds its own lines: the exit status and, last, the peak in KB.
            lines = [line for line in run.stderr.strip().splitlines()
                     if not line.startswith('Command exited with')]
            peak = int(lines.pop()) / 1024 if lines else 0.0
            message = lines[0] if lines else ''
            limit = BOMB_MEGABYTES if bomb else MEGABYTES
            ok = run.returncode == 1 and seconds < SECONDS and peak < limit and len(lines) == 1
            failed |= not ok
            reason = message.split(': ', 2)[-1]
            print(f"{name:20} {run.returncode:>6} {seconds:>8.2f} {peak:>8.1f}  {reason[:150]}"
                  + ('' if ok else '   <-- beyond the bounds'))
    sys.exit(1 if failed else 0)


if __name__ == '__main__':
    main()
