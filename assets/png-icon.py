#!/usr/bin/env python3
"""Packs PNG pictures into one .ico file, each image stored PNG-compressed.

usage: png-icon.py OUT.ico IMAGE.png ...
Windows reads PNG-compressed icon images since Vista; they keep their 32-bit
colour and alpha at a fraction of the size of the uncompressed bitmaps.
"""
import struct
import sys


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        raise SystemExit("not a PNG picture")
    return struct.unpack(">II", data[16:24])


def main():
    out, images = sys.argv[1], [open(name, "rb").read() for name in sys.argv[2:]]
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = len(header) + 16 * len(images)
    entries, blobs = b"", b""
    for data in images:
        width, height = png_size(data)
        if width > 256 or height > 256:
            raise SystemExit("an icon image is at most 256 pixels square")
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset + len(blobs))
        blobs += data
    with open(out, "wb") as f:
        f.write(header + entries + blobs)


if __name__ == "__main__":
    main()
