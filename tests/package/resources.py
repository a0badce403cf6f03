#!/usr/bin/env python3
"""Reads the reseller data of a Windows program with wrestool (icoutils).

usage: resources.py PROGRAM
Prints "resource TEXT" (the RESELLER resource, or "resource -" when there is
none) and "version TEXT" (the version information's "Reseller" entry).
"""
import subprocess
import sys


def resource(program, kind, name):
    done = subprocess.run(["wrestool", "-x", "--raw", f"--type={kind}", f"--name={name}", program], capture_output=True)
    return done.stdout if done.returncode == 0 else b""


def version_entry(block, key):
    # A String entry is its key in UTF-16 with a NUL, padding to 32 bits, then its value.
    marker = (key + "\0").encode("utf-16-le")
    at = block.find(marker)
    if at < 0:
        return None
    at += len(marker)
    at += (-at) % 4
    end = at
    while end + 1 < len(block) and block[end:end + 2] != b"\0\0":
        end += 2
    return block[at:end].decode("utf-16-le")


def main():
    program = sys.argv[1]
    data = resource(program, 10, "RESELLER")
    print("resource", data.decode("latin-1") if data else "-")
    print("version", version_entry(resource(program, 16, 1), "Reseller"))


if __name__ == "__main__":
    main()
