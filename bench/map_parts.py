#!/usr/bin/env python3
"""The shipping file's bytes by part, from the link map (before the headers,
alignment and the symbol strip, so the parts add up to a little less than the file).

usage: map_parts.py PROGRAM.map
Prints "part bytes" lines, largest first.
"""
import collections
import re
import sys


def parts(path):
    sizes = collections.Counter()
    started, pending = False, None
    for line in open(path):
        if line.startswith("Linker script and memory map"):
            started = True
            continue
        if not started:
            continue
        entry = re.match(r"^ (\.\S+)\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S+)", line)
        if entry:
            section, size, source = entry.groups()
        elif pending:
            wrapped = re.match(r"^\s+0x[0-9a-f]+\s+0x([0-9a-f]+)\s+(\S+)", line)
            if not wrapped:
                pending = None
                continue
            section, (size, source) = pending, wrapped.groups()
        else:
            alone = re.match(r"^ (\.\S+)\s*$", line)
            pending = alone.group(1) if alone else None
            continue
        pending = None
        if section.startswith(".debug") or int(size, 16) == 0:
            continue
        library = re.search(r"lib([^/]+)\.a\(", source)
        if library:
            part = "lib" + library.group(1)
        elif "ltrans" in source:
            part = "our code"
        elif source.endswith(".res"):
            part = "resources"
        else:
            part = "start-up code"
        sizes[part] += int(size, 16)
    return sizes


if __name__ == "__main__":
    for part, size in parts(sys.argv[1]).most_common():
        print(part, size)
