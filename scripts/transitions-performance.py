#!/usr/bin/env python3
"""Runs the transitions benchmark (or reads its JSON output) and prints a
Markdown table of docs/performance.md: the median time to compose one step
of a transition from the step before, as the show does (1920 x 1080, or the
size given with --frame), per style at the progress 25, 50 and 75, in
milliseconds and in plain frame copies (memcpy of the same
picture) measured in the same run.

usage: transitions-performance.py [--json FILE] [--bench PROGRAM] [--frame WIDTHxHEIGHT]
                                  [--pixel-threads 1|2]

With --pixel-threads 1 (the default) the pixel loops run on one thread: the
ratio is then the work of a step against the work of a copy, as the limits
mean it. With 2 (the show's setting) the processor time of both threads
counts, and with it what two threads cost each other on a shared machine.
"""
import argparse
import json
import subprocess
import sys
import tempfile

WIPES_AND_SLIDES = ("wipe", "slides", "box wipe", "frame wipe")


def load(args):
    if args.json:
        with open(args.json) as f:
            return json.load(f)
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        subprocess.run([args.bench, f"--frame={args.frame}", f"--pixel-threads={args.pixel_threads}",
                        "--benchmark_format=console",
                        f"--benchmark_out={out.name}", "--benchmark_out_format=json"],
                       check=True, stdout=subprocess.DEVNULL)
        with open(out.name) as f:
            return json.load(f)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--json")
    parser.add_argument("--bench", default="build/bin/bench_transitions_bench")
    parser.add_argument("--frame", default="1920x1080", help="frame size when the benchmark is run")
    parser.add_argument("--pixel-threads", default="1", choices=("1", "2"),
                        help="threads of the pixel loops when the benchmark is run")
    args = parser.parse_args()
    data = load(args)

    copy = None
    widen = None
    copies = {}
    frames = {}
    labels = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") != "median":
            continue
        name = b["run_name"]
        # Processor time of the process (both threads of the pixel work): the
        # machine may be busy with other work.
        ms = b["cpu_time"] / 1000.0 if b["time_unit"] == "us" else b["cpu_time"] / 1e6
        if name.startswith("FrameCopy"):
            copy = ms
        elif name.startswith("WidenToScreen"):
            widen = ms
        elif name.startswith("Compose/"):
            _, style, progress = name.split("/")[:3]
            frames[(int(style), int(progress))] = ms
            copies[(int(style), int(progress))] = b["copy_us"] / 1000.0
            labels[int(style)] = b.get("label", "")
    if copy is None:
        sys.exit("no FrameCopy result")

    size = data.get("context", {}).get("frame", "1920x1080").replace("x", " x ")
    print(f"One plain {size} frame copy (memcpy): median {copy:.3f} ms at the start of the run.")
    if widen is not None:
        print(f"Widening the whole frame into a 32-bit screen image (painting): median {widen:.3f} ms "
              f"({widen / copy:.1f} frame copies).")
    threads = data.get("context", {}).get("pixel_threads", "2")
    print(f"Pixel loops on {threads} thread{'s' if threads != '1' else ''}.")
    print("Times are medians of the process's processor time (every thread of the pixel work),")
    print("for one step of 4 % composed from the step before, as the show does; each ratio in brackets")
    print("divides a style's median by the processor time of the frame copies timed right")
    print("after it, so that both are measured under the same conditions.\n")
    print("| style | reads as | p = 25 | p = 50 | p = 75 | worst, copies | limit |")
    print("|---:|---|---:|---:|---:|---:|---:|")
    failures = 0
    for style in sorted(labels):
        cells = []
        worst = 0.0
        for p in (25, 50, 75):
            ms = frames[(style, p)]
            ratio = ms / copies[(style, p)]
            worst = max(worst, ratio)
            cells.append(f"{ms:.2f} ms ({ratio:.1f})")
        limit = 3 if labels[style].startswith(WIPES_AND_SLIDES) else 5
        mark = "" if worst <= limit else " **over**"
        failures += worst > limit
        print(f"| {style} | {labels[style]} | {' | '.join(cells)} | {worst:.1f}{mark} | {limit} |")
    print(f"\n{len(labels) - failures} of {len(labels)} styles within their limit.")


if __name__ == "__main__":
    main()
