#!/usr/bin/env python3
"""Turns a language table written in UTF-8 into the program resource form:
text in the Windows-1252 code page, every byte complemented (the package's
reversible byte transform), line breaks as CR LF.

usage: scramble_table.py SOURCE.txt OUTPUT
"""
import os
import sys


def main() -> int:
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    source, output = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8", newline="") as f:
        text = f.read()
    lines = text.splitlines()
    data = "".join(line + "\r\n" for line in lines).encode("cp1252")
    scrambled = bytes(255 - b for b in data)
    temporary = output + ".part"
    with open(temporary, "wb") as f:
        f.write(scrambled)
    os.replace(temporary, output)
    return 0


if __name__ == "__main__":
    sys.exit(main())
