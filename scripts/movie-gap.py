#!/usr/bin/env python3
"""Counts the frames of the show's own background (or black) between items
that bring on a movie, in a render of generated movies, and prints the time
from each movie's load to its first frame as the player reports it.

The show: four movies (a square crossing a stage of its own colour: red,
green, blue, yellow) with a picture between the second and the third, on a
grey show background, each item in the same place. A frame counts as a gap
frame when most of the item's place shows the show's background or black.
Gaps are counted where an item hands over to a movie: movie to movie and
picture to movie. One frame at 30 fps is the most a hand-over may show.

Then the same show plays on a private Xvfb with SCRPLAYER_STATS set, and
the `movie-first-frame ms=` lines (the time from a movie's load to its first
frame on the player's canvas) are printed.

Usage: scripts/movie-gap.py [--build build] [--keep DIR]
It is a benchmark, not a test: nothing fails, figures are printed. Needs
Xvfb and GStreamer's tools (scripts/install-deps.sh installs them).
"""
import argparse
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WIDTH, HEIGHT, FPS = 640, 400, 30
SHOW_BACKGROUND = (0x60, 0x60, 0x60)
MOVIES = [("red", "c02020"), ("green", "20a040"), ("blue", "2040c0"), ("yellow", "c0a020")]
# The items' place on the design screen (1280 x 800) and so in the video.
PLACE = (160, 100, 960, 600)


def near(pixel, colour, tolerance=40):
    return all(abs(a - b) <= tolerance for a, b in zip(pixel, colour))


def classify(frame):
    """What the item's place shows: a movie's name, 'gap' or 'other'."""
    x0, y0 = PLACE[0] * WIDTH // 1280, PLACE[1] * HEIGHT // 800
    x1, y1 = (PLACE[0] + PLACE[2]) * WIDTH // 1280, (PLACE[1] + PLACE[3]) * HEIGHT // 800
    counts = {}
    total = 0
    for y in range(y0 + 4, y1 - 4, 12):
        for x in range(x0 + 4, x1 - 4, 12):
            i = (y * WIDTH + x) * 3
            pixel = frame[i:i + 3]
            total += 1
            if near(pixel, SHOW_BACKGROUND) or near(pixel, (0, 0, 0)):
                counts["gap"] = counts.get("gap", 0) + 1
                continue
            for name, hexcolour in MOVIES:
                if near(pixel, bytes.fromhex(hexcolour)):
                    counts[name] = counts.get(name, 0) + 1
                    break
    best = max(counts, key=counts.get) if counts else "other"
    return best if counts.get(best, 0) * 2 > total else "other"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("--keep", help="keep the show and the video in this folder")
    args = parser.parse_args()
    tool = os.path.abspath(os.path.join(args.build, "bin", "scrtool"))
    source = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = args.keep or tempfile.mkdtemp(prefix="movie-gap-")
    os.makedirs(folder, exist_ok=True)

    items = []
    for name, colour in MOVIES:
        movie = os.path.join(folder, name + ".swf")
        subprocess.run([sys.executable, os.path.join(source, "assets/generators/make_swf.py"), "square", movie,
                        "--frames", "48", "--fps", "24", "--width", "640", "--height", "400",
                        "--background", colour], check=True)
        items.append({"file": movie, "kind": "flash", "display_seconds": 2})
    picture = {"file": os.path.join(source, "tests/data/testorig.jpg"), "kind": "picture", "display_seconds": 2}
    items.insert(2, picture)
    for item in items:
        item.update({"left": PLACE[0], "top": PLACE[1], "width": PLACE[2], "height": PLACE[3],
                     "transition_effect": -2, "exit_effect": -2})
    manifest = {"name": "Gap", "format_level": 5, "random_order": False, "placement_mode": 0,
                "design_width": 1280, "design_height": 800,
                "background_color": "#%02x%02x%02x" % SHOW_BACKGROUND, "items": items}
    with open(os.path.join(folder, "show.json"), "w") as f:
        json.dump(manifest, f)
    show = os.path.join(folder, "show.scr")
    subprocess.run([tool, "pack", os.path.join(folder, "show.json"), "-o", show], check=True,
                   stdout=subprocess.DEVNULL)

    # The render.
    video = os.path.join(folder, "show.webm")
    subprocess.run([tool, "render", show, "-o", video, "--size", f"{WIDTH}x{HEIGHT}", "--fps", str(FPS)],
                   check=True)
    raw = os.path.join(folder, "frames.rgb")
    subprocess.run(["gst-launch-1.0", "-q", "filesrc", f"location={video}", "!", "matroskademux", "name=d",
                    "d.video_0", "!", "decodebin", "!", "videoconvert", "!",
                    "video/x-raw,format=RGB", "!", "filesink", f"location={raw}"], check=True)
    size = WIDTH * HEIGHT * 3
    kinds = []
    with open(raw, "rb") as f:
        while True:
            frame = f.read(size)
            if len(frame) < size:
                break
            kinds.append(classify(frame))
    print(f"render: {len(kinds)} frames at {FPS} fps")
    runs = []
    for k in kinds:
        if runs and runs[-1][0] == k:
            runs[-1][1] += 1
        else:
            runs.append([k, 1])
    print("  what the place showed, in turn (frames): " + " ".join(f"{k} {n}" for k, n in runs))
    # Hand-overs: from one item's last frame to the next item's first, in
    # the order the show plays them; what lies between is the show's
    # background (a gap) or another movie's stale picture.
    order = ["red", "green", "other", "blue", "yellow"]
    at = 0
    while at < len(runs) and runs[at][0] != order[0]:
        at += 1
    for before, after in zip(order, order[1:]):
        gap = stale = 0
        at += 1
        while at < len(runs) and runs[at][0] != after:
            if runs[at][0] == "gap":
                gap += runs[at][1]
            else:
                stale += runs[at][1]
            at += 1
        if at == len(runs):
            print(f"  {before} -> {after}: not found")
            break
        print(f"  {before} -> {after}: {gap} background frames, {stale} frames of something else")

    # On screen: the time from each movie's load to its first frame.
    stats = os.path.join(folder, "stats.txt")
    if os.path.exists(stats):
        os.remove(stats)
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24", "-nolisten",
                             "tcp"], pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        display = ":" + pipe.readline().strip()
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", SCRPLAYER_STATS=stats)
    player = subprocess.Popen([tool, "play", show, "/s"], env=env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    time.sleep(16)
    player.send_signal(signal.SIGTERM)
    player.wait(30)
    xvfb.terminate()
    xvfb.wait()
    with open(stats) as f:
        firsts = [line.split("=")[1].strip() for line in f if line.startswith("movie-first-frame ms=")]
    print("on screen: load to first frame, ms: " + (" ".join(firsts) if firsts else "no movie-first-frame line"))
    if not args.keep:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
