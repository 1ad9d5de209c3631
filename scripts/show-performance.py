#!/usr/bin/env python3
"""Measures the show on a private Xvfb at 1920 x 1080 and prints the figures
written down in docs/performance.md (section "Show"):

  1. transition speed: a package with one full-screen 1920 x 1080 picture per
     style (0..127), Delay 0, Step 2; progress steps per second of every style,
     from the player's SCRPLAYER_STATS lines;
  2. start-up: time from starting the demo to its first picture on screen
     (the player's "first-item" statistics line), median of several runs;
  3. memory: a 200-item show of 1920 x 1080 pictures stepped with the Right key;
     resident memory at the 20th and the 200th item and the peak (VmHWM).

Usage: scripts/show-performance.py [BUILD_DIR]   (default: build)
Needs Xvfb, xdotool and cjpeg (scripts/install-deps.sh installs them).
"""
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


def free_display():
    for n in range(300, 600):
        if not os.path.exists(f"/tmp/.X{n}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{n}"):
            return f":{n}"
    raise SystemExit("no free X display number")


def write_pictures(folder, count):
    """Smooth colour fields with stripes, encoded as JPEG quality 88."""
    paths = []
    for k in range(count):
        rows = []
        for y in range(HEIGHT):
            row = bytearray(WIDTH * 3)
            g = (y * 255 // HEIGHT + 40 * k) & 255
            for x in range(0, WIDTH * 3, 3):
                px = x // 3
                row[x] = (px * 255 // WIDTH + 31 * k) & 255
                row[x + 1] = g
                row[x + 2] = ((px // 24 + y // 24) % 2) * 120 + 60
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


def measure_transitions(session, bin_dir, work, pictures):
    items = [{"file": pictures[s % len(pictures)], "kind": "picture", "fixed_position": True,
              "left": 0, "top": 0, "width": WIDTH, "height": HEIGHT, "display_seconds": 1,
              "transition_effect": s, "transition_step": 2, "transition_delay": 0, "exit_effect": -2}
             for s in range(128)]
    scr = pack(bin_dir, work, "styles", items)
    stats = os.path.join(work, "styles.txt")
    show = session.run(scr, stats)
    wait_for(lambda: sum(1 for l in stats_lines(stats) if l[0] == "transition") >= 128, 600)
    session.key("Escape")
    show.wait(10)
    rates = {}
    for line in stats_lines(stats):
        if line[0] != "transition":
            continue
        f = fields(line)
        ms = max(1, int(f["ms"]))
        rates.setdefault(int(f["style"]), int(f["frames"]) * 1000.0 / ms)
    return rates


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
              "labels": [{"text": f"Item {i + 1}", "font_size": 28, "center_x": 960, "center_y": 1000}]}
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


def main():
    bin_dir = os.path.abspath(os.path.join(sys.argv[1] if len(sys.argv) > 1 else "build", "bin"))
    for tool in ("Xvfb", "xdotool", "cjpeg"):
        if not shutil.which(tool):
            raise SystemExit(f"{tool} is missing: run scripts/install-deps.sh")
    work = tempfile.mkdtemp(prefix="scr-show-perf-")
    session = Session(work)
    try:
        pictures = write_pictures(work, 8)
        rates = measure_transitions(session, bin_dir, work, pictures)
        slowest = sorted(rates.items(), key=lambda kv: kv[1])[:5]
        print(f"transitions: {len(rates)} styles, full screen {WIDTH} x {HEIGHT}, Delay 0, Step 2")
        print(f"  steps per second: min {min(rates.values()):.0f}, median "
              f"{statistics.median(rates.values()):.0f}, max {max(rates.values()):.0f}")
        print("  slowest styles: " + ", ".join(f"{s} ({r:.0f}/s)" for s, r in slowest))
        times = measure_startup(session, bin_dir, work)
        print(f"start to first picture (demo.scr /s): median {statistics.median(times):.0f} ms, "
              f"runs {times}")
        rss, peak = measure_memory(session, bin_dir, work, pictures)
        print(f"memory, 200 items of {WIDTH} x {HEIGHT} (resident / of it anonymous, MB):")
        for item in sorted(rss):
            print(f"  item {item}: {rss[item][0] / 1024:.1f} / {rss[item][1] / 1024:.1f}")
        print(f"  peak resident (VmHWM): {peak / 1024:.1f}")
    finally:
        session.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
