#!/usr/bin/env python3
"""Writes docs/benchmarks.md from the raw figures that tools/bench collected.

usage: report.py RAW_DIR PROGRAM MAP_FILE "WHAT RAN" RUNS
"""
import datetime
import os
import platform
import statistics
import subprocess
import sys

from map_parts import parts


def numbers(path, field):
    values = []
    if os.path.exists(path):
        for line in open(path):
            words = line.split()
            if len(words) > field:
                values.append(float(words[field]))
    return values


def served(path):
    """Bytes per second of the link service's "sent N bytes in S s" lines."""
    return [b / t for b, t in zip(numbers(path, 1), numbers(path, 4)) if t > 0]


def fetched(path):
    """Bytes per second of bench_probe's "bytes N us U" lines."""
    return [b / (us / 1e6) for b, us in zip(numbers(path, 1), numbers(path, 3)) if us > 0]


def spread(values, scale=1.0, digits=1):
    if not values:
        return "n/a"
    values = [v * scale for v in values]
    return f"{statistics.median(values):.{digits}f} ({min(values):.{digits}f}–{max(values):.{digits}f})"


def percentile(values, share):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(share * len(ordered)))] if ordered else float("nan")


def ratio(a, b):
    return f"{statistics.median(a) / statistics.median(b):.2f}x" if a and b else "n/a"


def main():
    raw, program, map_file, ran, runs = sys.argv[1:6]
    size = os.path.getsize(program)
    cpu = next((line.split(":", 1)[1].strip() for line in open("/proc/cpuinfo") if line.startswith("model name")), "?")
    memory = subprocess.run(["free", "-h"], capture_output=True, text=True).stdout.split("\n")[1].split()[1]
    wizard_start = numbers(f"{raw}/start-wizard.txt", 1)
    bare_start = numbers(f"{raw}/start-bare.txt", 1)
    wizard_peak = numbers(f"{raw}/start-wizard.txt", 3)
    wizard_start_144 = numbers(f"{raw}/start-wizard-144.txt", 1)
    bare_peak = numbers(f"{raw}/start-bare.txt", 3)
    curl = [float(b) / float(t) for b, t in (line.split() for line in open(f"{raw}/curl.txt"))]
    wizard_rate = served(f"{raw}/wizard-download.txt")
    slow_wizard = served(f"{raw}/slow-wizard-download.txt")
    fetch = {block: fetched(f"{raw}/fetch-{block}.txt") for block in (2048, 65536)}
    slow_fetch = fetched(f"{raw}/slow-fetch-2048.txt")
    idle = numbers(f"{raw}/ping-idle.txt", 0)
    busy = numbers(f"{raw}/ping-download.txt", 0)
    mb = 1.0 / 1e6
    big = 50000000
    launch_size = 300000000
    baseline = os.environ.get("BENCH_BASELINE_NAME", "baseline")

    print("# Benchmarks\n")
    print(f"Made by `tools/bench` on {datetime.date.today().isoformat()}: {cpu}, {os.cpu_count()} cores, {memory} "
          f"of memory, {platform.system()} {platform.release()}. The programs ran as {ran}, on a virtual display, "
          f"{runs} runs of each figure: median (min–max). Timed results live here, never in pass/fail tests.\n")
    print("| measure | wizard | yardstick | ratio |")
    print("|---|---|---|---|")
    print(f"| start-up to a visible window, ms | {spread(wizard_start, 1e-3)} | bare window: {spread(bare_start, 1e-3)} "
          f"| {ratio(wizard_start, bare_start)} |")
    print(f"| start-up at 144 DPI (150%), ms | {spread(wizard_start_144, 1e-3)} "
          f"| at 96 DPI: {spread(wizard_start, 1e-3)} | {ratio(wizard_start_144, wizard_start)} |")
    print(f"| peak working set, KB | {spread(wizard_peak, digits=0)} | bare window: {spread(bare_peak, digits=0)} "
          f"| {ratio(wizard_peak, bare_peak)} |")
    print(f"| download from the local link service, MB/s | {spread(wizard_rate, mb)} | curl: {spread(curl, mb)} "
          f"| {ratio(wizard_rate, curl)} |")
    print(f"| WM_NULL round trip, p50 / p99 µs | during a download: {percentile(busy, .5):.0f} / "
          f"{percentile(busy, .99):.0f} | idle: {percentile(idle, .5):.0f} / {percentile(idle, .99):.0f} "
          f"| {percentile(busy, .5) / percentile(idle, .5):.2f}x (p50) |")
    print(f"| shipping file, bytes | {size:,} | | |")
    print()
    print("## The shipping file by part\n")
    print("From the link map of the `win32` build (sections before alignment, headers and the symbol strip).\n")
    print("| part | bytes |")
    print("|---|---|")
    for part, bytes_ in parts(map_file).most_common():
        print(f"| {part} | {bytes_:,} |")
    print()
    print("## The wizard against WinInet's own pace\n")
    print("The wizard's download, as the link service timed it, against a plain loop of blocking 2048-byte "
          "`InternetReadFile` calls (bench_probe) from the same address of the same server, in the same run: "
          "the cost of the wizard's asynchronous, cancel-safe reads, its file writes and its reports. The slow "
          "server sends 1 MB a second, which both should follow. A block costs the wizard its read, its file write "
          "and the query of the file's size: the cancel is a flag, read without a call, and a read takes at most what WinInet "
          "already holds (`InternetQueryDataAvailable`), so it completes without a wait or a thread switch.\n")
    print("| server | wizard, MB/s | plain loop, MB/s | ratio |")
    print("|---|---|---|---|")
    print(f"| local, as fast as it goes | {spread(wizard_rate, mb)} | {spread(fetch[2048], mb)} "
          f"| {ratio(wizard_rate, fetch[2048])} |")
    print(f"| local, 1 MB a second | {spread(slow_wizard, mb, 2)} | {spread(slow_fetch, mb, 2)} "
          f"| {ratio(slow_wizard, slow_fetch)} |")
    print()
    print("## WinInet's read size\n")
    print("The wizard reads at most 2048 bytes at a time, as its design says. The plain WinInet loop with 64 KB "
          "reads, from the same server, shows what that choice costs:\n")
    print("| reads of | MB/s | against curl |")
    print("|---|---|---|")
    for block, rates in fetch.items():
        print(f"| {block} bytes | {spread(rates, mb)} | {ratio(rates, curl)} |")
    print("\nThe download is written once, to the file in Downloads: the request asks WinInet not to keep a copy "
          "in its cache (`INTERNET_FLAG_NO_CACHE_WRITE`).")
    print("\n## A poor line\n")
    print(f"The wizard's download of {big / 1e6:.0f} MB from a server that closes every answer after 8 MB, beside "
          "the same server without cuts: what the link service sent in all, in how many requests, and the time "
          "from the click to the last byte sent. Each cut costs a pause of a second before the rest is asked for "
          "(`Range` with `If-Range`), and nothing is sent twice.\n")
    print("| server | MB sent | requests | seconds |")
    print("|---|---|---|---|")
    for name, cut in (("clean", 0), ("cut every 8 MB", 8000000)):
        path = f"{raw}/cut-{cut}.txt"
        print(f"| {name} | {spread(numbers(path, 0), mb)} | {spread(numbers(path, 1), digits=0)} "
              f"| {spread(numbers(path, 2), digits=2)} |")

    print("\n## Checking and starting the installer\n")
    print(f"The longest WM_NULL round trip (`SendMessageTimeout`) from the download's last byte on disk to the "
          f"installer's start, for a signed installer of {launch_size / 1e6:.0f} MB: its signature check reads "
          "and hashes the whole file. Windows draws a window that has not answered for 5 seconds as "
          "\"(Not Responding)\".\n")
    print("| wizard | longest round trip, ms | round trips |")
    print("|---|---|---|")
    for name, path in (("this build", f"{raw}/launch.txt"), (baseline, f"{raw}/launch-baseline.txt")):
        if os.path.exists(path):
            print(f"| {name} | {spread(numbers(path, 1), 1e-3)} | {spread(numbers(path, 3), digits=0)} |")


if __name__ == "__main__":
    main()
