#!/usr/bin/env python3
"""Counts the kinds of pixels in a rectangle of a screenshot.

usage: region.py SCREENSHOT X Y W H
Prints "red N grey N" : pixels of the error red (strong red, little green and
blue) and of any grey or darker text (R, G and B alike and below 235).
"""
import re
import subprocess
import sys


def main():
    shot, x, y, w, h = sys.argv[1], *map(int, sys.argv[2:6])
    text = subprocess.run(["/usr/bin/convert", shot, "-crop", f"{w}x{h}+{x}+{y}", "+repage", "-depth", "8", "txt:-"],
                          check=True, capture_output=True, text=True).stdout
    red = grey = 0
    for r, g, b in re.findall(r"#([0-9A-Fa-f]{2})([0-9A-Fa-f]{2})([0-9A-Fa-f]{2})", text):
        r, g, b = int(r, 16), int(g, 16), int(b, 16)
        if r >= 150 and g <= 110 and b <= 110 and r - g >= 80:
            red += 1
        elif max(r, g, b) - min(r, g, b) <= 12 and max(r, g, b) < 235:
            grey += 1
    print(f"red {red} grey {grey}")


if __name__ == "__main__":
    main()
