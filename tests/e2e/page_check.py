#!/usr/bin/env python3
"""Checks a screenshot of the wizard's client area for the window's silver background.

usage: page_check.py SCREENSHOT.ppm
The picture is a binary PPM of exactly the client area. Silver (192,192,192)
showing through means a page picture does not reach the window's edge; a few
isolated silver pixels can come from anti-aliased text, a run of eight cannot.
Exit code 0 when no such run exists.
"""
import sys

SILVER = b"\xc0\xc0\xc0"
LONGEST_ALLOWED = 7


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise ValueError("not an 8-bit binary PPM")
    return int(fields[1]), int(fields[2]), data[pos + 1:]


def longest_silver_run(width, height, pixels):
    longest = 0
    for y in range(height):
        run = 0
        row = pixels[y * width * 3:(y + 1) * width * 3]
        for x in range(width):
            run = run + 1 if row[x * 3:x * 3 + 3] == SILVER else 0
            longest = max(longest, run)
    return longest


def main():
    width, height, pixels = read_ppm(sys.argv[1])
    longest = longest_silver_run(width, height, pixels)
    print(f"{width}x{height}, longest silver run {longest}")
    return 0 if longest <= LONGEST_ALLOWED else 1


if __name__ == "__main__":
    sys.exit(main())
