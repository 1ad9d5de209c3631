#!/usr/bin/env python3
"""Measures how fast `scrtool render` turns a show into a video and prints the
figures written down in docs/performance.md (section "Rendering to a video").

The show: the demo's eight pictures (1280 x 800, stretched to the video's
size), 5 s each, every one with its own transition style (Step 4, Delay
30 ms), no exit transitions, no music: 60 s of video by default. For each
size and container it prints the video's length divided by the render's wall
time (above 1: faster than real time) and by the CPU time the render used
(the figure that does not depend on what else runs on the machine).

Usage: scripts/render-performance.py [BUILD_DIR] [--sizes 1920x1080,3840x2160]
                                     [--containers webm,mp4] [--fps 30]
                                     [--seconds 60]
"""
import argparse
import json
import os
import resource
import subprocess
import sys
import tempfile
import time

STYLES = [5, 12, 40, 90, 3, 22, 60, 100]


def pack(bin_dir, pictures, work):
    names = sorted(n for n in os.listdir(pictures) if n.endswith(".jpg") and n != "background.jpg")
    items = [{"file": os.path.join(pictures, name), "kind": "picture", "left": 0, "top": 0,
              "width": 1280, "height": 800, "display_seconds": 5,
              "transition_effect": STYLES[i % len(STYLES)], "transition_step": 4,
              "transition_delay": 30} for i, name in enumerate(names)]
    manifest = {"name": "Render Figures", "design_width": 1280, "design_height": 800,
                "default_exit_effect": -2, "items": items}
    path = os.path.join(work, "show.json")
    with open(path, "w") as out:
        json.dump(manifest, out)
    package = os.path.join(work, "show.scr")
    subprocess.run([os.path.join(bin_dir, "scrtool"), "pack", path, "-o", package], check=True,
                   stdout=subprocess.DEVNULL)
    return package


def render(bin_dir, package, out, size, fps, seconds):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.monotonic()
    subprocess.run([os.path.join(bin_dir, "scrtool"), "render", package, "-o", out, "--size", size,
                    "--fps", str(fps), "--duration", str(seconds)], check=True)
    wall = time.monotonic() - start
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return wall, cpu, after.ru_maxrss


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--sizes", default="1920x1080,3840x2160")
    parser.add_argument("--containers", default="webm,mp4")
    parser.add_argument("--fps", type=int, default=30)
    parser.add_argument("--seconds", type=float, default=60)
    args = parser.parse_args()
    build = os.path.abspath(args.build)
    bin_dir = os.path.join(build, "bin")
    pictures = os.path.join(build, "assets", "demo", "pictures")
    if not os.path.isdir(pictures):
        sys.exit(f"no demo pictures in {pictures}: build the project first")
    print(f"{os.cpu_count()} processors; load average {os.getloadavg()[0]:.1f} at the start")
    print(f"{'size':>10} {'container':>9} {'wall s':>8} {'cpu s':>8} {'video/wall':>10} {'video/cpu':>9}")
    with tempfile.TemporaryDirectory() as work:
        os.environ.setdefault("XDG_RUNTIME_DIR", work)
        package = pack(bin_dir, pictures, work)
        for size in args.sizes.split(","):
            for container in args.containers.split(","):
                out = os.path.join(work, f"show-{size}.{container}")
                wall, cpu, _ = render(bin_dir, package, out, size, args.fps, args.seconds)
                print(f"{size:>10} {container:>9} {wall:8.1f} {cpu:8.1f} {args.seconds / wall:10.2f} "
                      f"{args.seconds / cpu:9.2f}", flush=True)
                os.remove(out)
    print(f"load average {os.getloadavg()[0]:.1f} at the end")


if __name__ == "__main__":
    main()
