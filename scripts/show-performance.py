#!/usr/bin/env python3
"""Measures the show on a private Xvfb (1920 x 1080 unless --size says
otherwise, for example --size 3840x2160) and prints the figures written down
in docs/performance.md (section "Show"):

  1. transitions: a package with one full-screen picture of the screen's size
     per style (0..127), Delay 0, Step 2 (or --step); progress steps per
     second of every style, from the player's SCRPLAYER_STATS lines;
  2. startup: time from starting the demo to its first picture on screen
     (the player's "first-item" statistics line), median of several runs;
  3. memory: a 200-item show of pictures of the screen's size stepped with the
     Right key; resident memory at the 20th, 100th and 200th item and the
     peak (VmHWM);
  4. huge: a 30000 x 30000 picture, a 32767 x 32767 rectangle (the largest
     a package stores) and a plain item; whether the show reaches the plain item, its peak resident memory
     and the temporary files left after it ended.

Usage: scripts/show-performance.py [BUILD_DIR] [--size WxH] [--step N]
                                   [--only transitions,startup,memory,huge]
                                   [--styles 0-127]
Needs Xvfb, xdotool and cjpeg (scripts/install-deps.sh installs them).
"""
import argparse
import json
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

WIDTH, HEIGHT = 1920, 1080
STEP = 2


def free_display():
    for n in range(300, 600):
        if not os.path.exists(f"/tmp/.X{n}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{n}"):
            return f":{n}"
    raise SystemExit("no free X display number")


def write_pictures(folder, count):
    """Smooth colour fields with stripes, encoded as JPEG quality 88."""
    paths = []
    for k in range(count):
        red = bytes((px * 255 // WIDTH + 31 * k) & 255 for px in range(WIDTH))
        blue = [bytes(((px // 24 + band) % 2) * 120 + 60 for px in range(WIDTH)) for band in (0, 1)]
        rows = []
        for y in range(HEIGHT):
            row = bytearray(WIDTH * 3)
            row[0::3] = red
            row[1::3] = bytes(((y * 255 // HEIGHT + 40 * k) & 255,)) * WIDTH
            row[2::3] = blue[(y // 24) % 2]
            rows.append(bytes(row))
        ppm = os.path.join(folder, f"p{k}.ppm")
        with open(ppm, "wb") as out:
            out.write(b"P6 %d %d 255\n" % (WIDTH, HEIGHT))
            out.writelines(rows)
        jpg = os.path.join(folder, f"p{k}.jpg")
        with open(jpg, "wb") as out:
            subprocess.run(["cjpeg", "-quality", "88", ppm], stdout=out, check=True)
        os.remove(ppm)
        paths.append(jpg)
    return paths


def pack(bin_dir, folder, name, items):
    manifest = {
        "name": name, "format_level": 5, "design_width": WIDTH, "design_height": HEIGHT,
        "default_display_seconds": 1, "background_color": "#000000", "items": items,
    }
    path = os.path.join(folder, name + ".json")
    with open(path, "w") as out:
        json.dump(manifest, out)
    scr = os.path.join(folder, name + ".scr")
    subprocess.run([os.path.join(bin_dir, "scrtool"), "pack", path, "-o", scr,
                    "--stub", os.path.join(bin_dir, "scrplayer")], check=True, stdout=subprocess.DEVNULL)
    return scr


class Session:
    def __init__(self, work):
        self.display = free_display()
        self.xvfb = subprocess.Popen(["Xvfb", self.display, "-screen", "0", f"{WIDTH}x{HEIGHT}x24",
                                      "-nolisten", "tcp"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.time() + 10
        while not os.path.exists(f"/tmp/.X11-unix/X{self.display[1:]}") and time.time() < deadline:
            time.sleep(0.05)
        runtime = os.path.join(work, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        self.env = dict(os.environ, DISPLAY=self.display, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime,
                        TMPDIR=work, XDG_CONFIG_HOME=os.path.join(work, "config"))
        self.env.pop("XSCREENSAVER_WINDOW", None)

    def run(self, scr, stats):
        env = dict(self.env, SCRPLAYER_STATS=stats)
        return subprocess.Popen([scr, "/s"], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def key(self, name):
        subprocess.run(["xdotool", "key", name], env=self.env, check=False)

    def close(self):
        self.xvfb.send_signal(signal.SIGTERM)
        self.xvfb.wait()


def stats_lines(path):
    try:
        with open(path) as f:
            return [line.split() for line in f]
    except FileNotFoundError:
        return []


def fields(words):
    return dict(w.split("=", 1) for w in words[1:] if "=" in w)


def wait_for(condition, timeout):
    deadline = time.time() + timeout
    while time.time() < deadline:
        if condition():
            return True
        time.sleep(0.02)
    return False


def status_kb(pid, key):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return 0


def cpu_ms(pid):
    """User and system processor time of a process so far, in milliseconds."""
    with open(f"/proc/{pid}/stat") as f:
        fields_ = f.read().rsplit(")", 1)[1].split()
    return (int(fields_[11]) + int(fields_[12])) * 1000.0 / os.sysconf("SC_CLK_TCK")


def measure_transitions(session, bin_dir, work, pictures, styles):
    items = [{"file": pictures[s % len(pictures)], "kind": "picture", "fixed_position": True,
              "left": 0, "top": 0, "width": WIDTH, "height": HEIGHT, "display_seconds": 1,
              "transition_effect": s, "transition_step": STEP, "transition_delay": 0, "exit_effect": -2}
             for s in styles]
    scr = pack(bin_dir, work, "styles", items)
    stats = os.path.join(work, "styles.txt")
    show = session.run(scr, stats)
    # Processor time from the first transition on, of the player and of the
    # X server: figures that hold also on a machine busy with other work.
    wait_for(lambda: any(l[0] == "transition" for l in stats_lines(stats)), 60)
    cpu_start = (cpu_ms(show.pid), cpu_ms(session.xvfb.pid))
    frames_start = sum(int(fields(l)["frames"]) for l in stats_lines(stats) if l[0] == "transition")
    wait_for(lambda: sum(1 for l in stats_lines(stats) if l[0] == "transition") >= len(styles), 1800)
    cpu_end = (cpu_ms(show.pid), cpu_ms(session.xvfb.pid))
    frames_end = sum(int(fields(l)["frames"]) for l in stats_lines(stats) if l[0] == "transition")
    session.key("Escape")
    show.wait(10)
    steps = max(1, frames_end - frames_start)
    per_step = ((cpu_end[0] - cpu_start[0]) / steps, (cpu_end[1] - cpu_start[1]) / steps)
    rates = {}
    for line in stats_lines(stats):
        if line[0] != "transition":
            continue
        f = fields(line)
        ms = max(1, int(f["ms"]))
        rates.setdefault(int(f["style"]), int(f["frames"]) * 1000.0 / ms)
    return rates, per_step


def measure_startup(session, bin_dir, work, runs=5):
    demo = os.path.join(bin_dir, "demo.scr")
    times = []
    for i in range(runs):
        stats = os.path.join(work, f"start{i}.txt")
        show = session.run(demo, stats)
        wait_for(lambda: any(l[0] == "first-item" for l in stats_lines(stats)), 20)
        session.key("Escape")
        show.wait(10)
        for line in stats_lines(stats):
            if line[0] == "first-item":
                times.append(int(fields(line)["ms"]))
    return times


def measure_memory(session, bin_dir, work, pictures):
    items = [{"file": pictures[i % len(pictures)], "kind": "picture", "fixed_position": True,
              "left": 0, "top": 0, "width": 0, "height": 0, "display_seconds": 30,
              "transition_effect": i % 128, "transition_step": 25, "transition_delay": 0,
              "exit_effect": -2,
              "labels": [{"text": f"Item {i + 1}", "font_size": 28, "center_x": WIDTH // 2,
                          "center_y": HEIGHT * 25 // 27}]}
             for i in range(200)]
    scr = pack(bin_dir, work, "memory", items)
    stats = os.path.join(work, "memory.txt")
    show = session.run(scr, stats)
    wait_for(lambda: any(l[0] == "first-item" for l in stats_lines(stats)), 20)
    rss = {}
    for item in range(2, 201):
        done = item - 1
        session.key("Right")
        # Wait until this item's entry transition has finished.
        wait_for(lambda: sum(1 for l in stats_lines(stats) if l[0] == "transition") >= done, 10)
        if item in (20, 100, 200):
            rss[item] = (status_kb(show.pid, "VmRSS"), status_kb(show.pid, "RssAnon"))
    peak = status_kb(show.pid, "VmHWM")
    session.key("Escape")
    show.wait(10)
    return rss, peak


def write_huge_picture(folder, size):
    """A size x size JPEG of smooth colour, streamed row by row into cjpeg."""
    jpg = os.path.join(folder, f"huge{size}.jpg")
    with open(jpg, "wb") as out:
        encoder = subprocess.Popen(["cjpeg", "-quality", "50"], stdin=subprocess.PIPE, stdout=out)
        encoder.stdin.write(b"P6 %d %d 255\n" % (size, size))
        for y in range(size):
            shade = y * 255 // size
            encoder.stdin.write(bytes((shade, 128, 255 - shade)) * size)
        encoder.stdin.close()
        encoder.wait()
    return jpg


def measure_huge(session, bin_dir, work, pictures):
    huge = write_huge_picture(work, 30000)
    items = [
        {"file": huge, "kind": "picture", "fixed_position": True, "left": 0, "top": 0,
         "width": 0, "height": 0, "display_seconds": 1, "transition_effect": 118,
         "transition_step": 10, "transition_delay": 0, "exit_effect": -2},
        {"file": pictures[0], "kind": "picture", "fixed_position": True, "left": 0, "top": 0,
         "width": 32767, "height": 32767, "display_seconds": 1, "transition_effect": 118,
         "transition_step": 10, "transition_delay": 0, "exit_effect": -2},
        {"file": pictures[1], "kind": "picture", "fixed_position": True, "left": 100, "top": 100,
         "width": WIDTH // 2, "height": HEIGHT // 2, "display_seconds": 30, "transition_effect": 118,
         "transition_step": 10, "transition_delay": 0, "exit_effect": -2},
    ]
    scr = pack(bin_dir, work, "huge", items)
    stats = os.path.join(work, "huge.txt")
    tmp = os.path.join(work, "huge-tmp")
    os.makedirs(tmp, exist_ok=True)
    session.env["TMPDIR"] = tmp
    start = time.time()
    show = session.run(scr, stats)
    reached = wait_for(lambda: sum(1 for l in stats_lines(stats) if l[0] == "transition") >= 3, 120)
    seconds = time.time() - start
    alive = show.poll() is None
    peak = status_kb(show.pid, "VmHWM") if alive else 0
    session.key("Escape")
    try:
        show.wait(10)
    except subprocess.TimeoutExpired:
        show.kill()
        show.wait()
    session.env["TMPDIR"] = work
    skipped = [" ".join(l) for l in stats_lines(stats) if l[0] == "item-skipped"]
    return reached and alive, seconds, peak, os.listdir(tmp), skipped


def main():
    global WIDTH, HEIGHT, STEP
    parser = argparse.ArgumentParser()
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--size", default="1920x1080")
    parser.add_argument("--step", type=int, default=2)
    parser.add_argument("--only", default="transitions,startup,memory,huge")
    parser.add_argument("--styles", default="0-127", help="styles to time, as 0-127 or 1,5,118")
    args = parser.parse_args()
    WIDTH, HEIGHT = (int(v) for v in args.size.split("x"))
    STEP = args.step
    parts = set(args.only.split(","))
    styles = []
    for part in args.styles.split(","):
        first, _, last = part.partition("-")
        styles.extend(range(int(first), int(last or first) + 1))
    bin_dir = os.path.abspath(os.path.join(args.build, "bin"))
    for tool in ("Xvfb", "xdotool", "cjpeg"):
        if not shutil.which(tool):
            raise SystemExit(f"{tool} is missing: run scripts/install-deps.sh")
    work = tempfile.mkdtemp(prefix="scr-show-perf-")
    session = Session(work)
    try:
        pictures = write_pictures(work, 8)
        if "transitions" in parts:
            rates, per_step = measure_transitions(session, bin_dir, work, pictures, styles)
            slowest = sorted(rates.items(), key=lambda kv: kv[1])[:5]
            print(f"transitions: {len(rates)} styles, full screen {WIDTH} x {HEIGHT}, Delay 0, Step {STEP}")
            print(f"  steps per second: min {min(rates.values()):.0f}, median "
                  f"{statistics.median(rates.values()):.0f}, max {max(rates.values()):.0f}")
            print("  slowest styles: " + ", ".join(f"{s} ({r:.0f}/s)" for s, r in slowest))
            under = sorted(s for s, r in rates.items() if r < 60)
            print(f"  styles under 60 steps per second: {len(under)}"
                  + (" (" + ", ".join(f"{s}: {rates[s]:.0f}/s" for s in under) + ")" if under else ""))
            print(f"  processor time per step: player {per_step[0]:.1f} ms, X server {per_step[1]:.1f} ms")
        if "startup" in parts:
            times = measure_startup(session, bin_dir, work)
            print(f"start to first picture (demo.scr /s): median {statistics.median(times):.0f} ms, "
                  f"runs {times}")
        if "memory" in parts:
            rss, peak = measure_memory(session, bin_dir, work, pictures)
            print(f"memory, 200 items of {WIDTH} x {HEIGHT} (resident / of it anonymous, MB):")
            for item in sorted(rss):
                print(f"  item {item}: {rss[item][0] / 1024:.1f} / {rss[item][1] / 1024:.1f}")
            print(f"  peak resident (VmHWM): {peak / 1024:.1f}")
        if "huge" in parts:
            went_on, seconds, peak, left, skipped = measure_huge(session, bin_dir, work, pictures)
            print(f"huge items on {WIDTH} x {HEIGHT} (30000 x 30000 picture, 32767 x 32767 rectangle):")
            print(f"  the show reached the item after them: {'yes' if went_on else 'no'} ({seconds:.1f} s)")
            print(f"  peak resident (VmHWM): {peak / 1024:.1f} MB")
            print(f"  temporary files left: {len(left)} {left if left else ''}")
            print(f"  items skipped: {len(skipped)} {skipped if skipped else ''}")
    finally:
        session.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
