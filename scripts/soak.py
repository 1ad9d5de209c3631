#!/usr/bin/env python3
"""Plays a show for a long time on a private Xvfb and watches its memory.

Once a minute (or every --interval seconds) it prints the resident memory of
the player and of every process below it (the web engine's browser side is
the player itself; its renderer, GPU, utility and zygote processes are
children), as the sum of RSS and, from /proc/PID/smaps_rollup, of PSS (which
shares out pages that several processes map), split by process kind; the
items shown so far (from the player's SCRPLAYER_STATS lines: every item that
comes writes one "transition" line), the movies ended (one "flash frames="
line each) and every new "flash error=" line.
At the end it prints a summary: the peak, and the mean of the first and of the
last ten minutes after the warm-up with their drift.

The show is a package (.scr or the package file `scrtool play` accepts) or,
with --movies, one packed here: every .swf of the folder, each followed by a
picture, all shown --seconds long (2 by default), in a loop.

Usage:
  scripts/soak.py [--build build] [--minutes 60] [--interval 60] [--warmup 5]
                  [--size 1920x1080] [--seconds 2]
                  (PACKAGE | --movies FOLDER [--picture JPEG])
                  [--env NAME=VALUE ...] [--csv FILE]

It is a benchmark, not a test: nothing fails, figures are printed. Needs
Xvfb (scripts/install-deps.sh installs it).
"""
import argparse
import json
import os
import signal
import statistics
import subprocess
import sys
import tempfile
import time


def start_xvfb(size):
    """Starts Xvfb on a display number it picks and locks itself (-displayfd),
    so that runs started at the same moment never share a display."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{size[0]}x{size[1]}x24",
                             "-nolisten", "tcp"], pass_fds=(write_end,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    if not number.isdigit():
        xvfb.kill()
        xvfb.wait()
        raise SystemExit("Xvfb did not start")
    return xvfb, f":{number}"


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return b""


def parent_of(pid):
    stat = read(f"/proc/{pid}/stat")
    close = stat.rfind(b")")
    if close < 0:
        return -1
    return int(stat[close + 1:].split()[1])


def process_tree(root):
    """{pid: parent} of the process and every process below it."""
    parents = {}
    for name in os.listdir("/proc"):
        if name.isdigit():
            parents[int(name)] = parent_of(int(name))
    found = {root: parents.get(root, -1)}
    for pid in parents:
        up = parents[pid]
        while up > 1:
            if up == root:
                found[pid] = parents[pid]
                break
            up = parents.get(up, -1)
    return found


def kind_of(pid, root, tree):
    """What a process is: the player, or the web engine's process type. A
    zygote's forks keep its command line, so a leaf forked by a zygote is a
    renderer."""
    if pid == root:
        return "player"
    args = read(f"/proc/{pid}/cmdline").split(b"\0")
    if b"--type=zygote" in args and b"--type=zygote" in read(f"/proc/{tree[pid]}/cmdline").split(b"\0") \
            and pid not in tree.values():
        return "renderer"
    for arg in args:
        if arg.startswith(b"--type="):
            kind = arg[len(b"--type="):].decode(errors="replace")
            if kind == "utility":
                for a in args:
                    if a.startswith(b"--utility-sub-type="):
                        return "utility:" + a.split(b"=", 1)[1].decode(errors="replace").rsplit(".", 1)[-1]
            return kind
    return os.path.basename(args[0].decode(errors="replace")) if args and args[0] else "other"


def kb_field(text, key):
    for line in text.splitlines():
        if line.startswith(key):
            return int(line.split()[1])
    return 0


def memory(root):
    """(total RSS kB, total PSS kB, {kind: (count, RSS kB, PSS kB)})."""
    kinds = {}
    rss_sum = pss_sum = 0
    tree = process_tree(root)
    for pid in tree:
        status = read(f"/proc/{pid}/status").decode(errors="replace")
        if not status:
            continue
        rss = kb_field(status, "VmRSS:")
        pss = kb_field(read(f"/proc/{pid}/smaps_rollup").decode(errors="replace"), "Pss:")
        kind = kind_of(pid, root, tree)
        n, r, p = kinds.get(kind, (0, 0, 0))
        kinds[kind] = (n + 1, r + rss, p + pss)
        rss_sum += rss
        pss_sum += pss
    return rss_sum, pss_sum, kinds


def stats_lines(path):
    return read(path).decode(errors="replace").splitlines()


def pack_show(build, work, movies, picture, seconds, size):
    width, height = size
    items = []
    for name in sorted(os.listdir(movies)):
        if not name.endswith(".swf"):
            continue
        items.append({"file": os.path.join(movies, name), "kind": "flash", "display_seconds": -seconds,
                      "left": width // 8, "top": height // 8, "width": width * 3 // 4,
                      "height": height * 3 // 4})
        items.append({"file": picture, "display_seconds": seconds})
    if not items:
        raise SystemExit(f"no .swf movie in {movies}")
    manifest = {"name": "Soak", "format_level": 5, "design_width": width, "design_height": height,
                "default_display_seconds": seconds, "background_color": "#000000", "items": items}
    path = os.path.join(work, "soak.json")
    with open(path, "w") as out:
        json.dump(manifest, out)
    scr = os.path.join(work, "soak.scr")
    subprocess.run([os.path.join(build, "bin", "scrtool"), "pack", path, "-o", scr], check=True,
                   stdout=subprocess.DEVNULL)
    return scr, len(items) // 2


class Stopped(Exception):
    pass


def stop(signum, frame):
    raise Stopped()


def mb(kb):
    return kb / 1024.0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("package", nargs="?")
    parser.add_argument("--build", default="build")
    parser.add_argument("--minutes", type=float, default=60)
    parser.add_argument("--interval", type=float, default=60)
    parser.add_argument("--warmup", type=float, default=5, help="minutes left out of the drift figures")
    parser.add_argument("--size", default="1920x1080")
    parser.add_argument("--seconds", type=int, default=2)
    parser.add_argument("--movies")
    parser.add_argument("--picture")
    parser.add_argument("--env", action="append", default=[], help="NAME=VALUE for the player")
    parser.add_argument("--csv", help="also write every sample to this file")
    args = parser.parse_args()
    size = tuple(int(v) for v in args.size.split("x"))
    build = os.path.abspath(args.build)
    root_dir = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

    work = tempfile.mkdtemp(prefix="scr-soak-")
    if args.movies:
        picture = args.picture or os.path.join(root_dir, "tests", "data", "testorig.jpg")
        package, count = pack_show(build, work, os.path.abspath(args.movies), os.path.abspath(picture),
                                   args.seconds, size)
        print(f"show: {count} movies of {args.movies}, each followed by a picture, {args.seconds} s each")
    elif args.package:
        package = os.path.abspath(args.package)
    else:
        parser.error("give a package or --movies")

    xvfb, display = start_xvfb(size)
    runtime = os.path.join(work, "runtime")
    os.makedirs(runtime, mode=0o700)
    stats = os.path.join(work, "stats.txt")
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime, TMPDIR=work,
               XDG_CONFIG_HOME=os.path.join(work, "config"), XDG_DATA_HOME=os.path.join(work, "data"),
               SCRPLAYER_STATS=stats)
    env.pop("XSCREENSAVER_WINDOW", None)
    for pair in args.env:
        name, _, value = pair.partition("=")
        env[name] = value
    log = open(os.path.join(work, "player.log"), "wb")
    player = subprocess.Popen([os.path.join(build, "bin", "scrtool"), "play", package, "/s"], env=env,
                              stdout=log, stderr=subprocess.STDOUT)
    print(f"player pid {player.pid} on {display} at {size[0]}x{size[1]}; files in {work}")
    print(f"{'min':>6} {'RSS MB':>8} {'PSS MB':>8} {'items':>6} {'movies':>6}  by kind (count RSS/PSS MB)")
    csv = open(args.csv, "w") if args.csv else None
    if csv:
        csv.write("minutes,rss_kb,pss_kb,items,movies\n")

    # Stopped early (Ctrl+C, kill): the player and the X server still go,
    # and the summary covers what was measured.
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGINT, stop)
    samples = []  # (minutes, rss kB, pss kB)
    errors_seen = 0
    start = time.time()
    next_sample = start + args.interval
    ended = None
    try:
        while time.time() - start < args.minutes * 60:
            time.sleep(max(0.0, min(next_sample, start + args.minutes * 60) - time.time()))
            next_sample += args.interval
            if player.poll() is not None:
                ended = player.returncode
                break
            rss, pss, kinds = memory(player.pid)
            lines = stats_lines(stats)
            movies = sum(1 for line in lines if line.startswith("flash frames="))
            items = sum(1 for line in lines if line.startswith("transition "))
            minutes = (time.time() - start) / 60
            samples.append((minutes, rss, pss))
            by_kind = ", ".join(f"{k} {n}x {mb(r):.0f}/{mb(p):.0f}" for k, (n, r, p) in sorted(kinds.items()))
            print(f"{minutes:6.1f} {mb(rss):8.0f} {mb(pss):8.0f} {items:6d} {movies:6d}  {by_kind}", flush=True)
            if csv:
                csv.write(f"{minutes:.2f},{rss},{pss},{items},{movies}\n")
                csv.flush()
            errors = [line for line in lines if line.startswith("flash error=")]
            for line in errors[errors_seen:]:
                print(f"       {line}", flush=True)
            errors_seen = len(errors)
    except Stopped:
        print("stopped")
    finally:
        if player.poll() is None:
            player.send_signal(signal.SIGTERM)
            try:
                player.wait(15)
            except subprocess.TimeoutExpired:
                player.kill()
                player.wait()
        xvfb.send_signal(signal.SIGTERM)
        xvfb.wait()

    print()
    print(f"ran {(time.time() - start) / 60:.1f} min; player exit status {player.returncode}"
          + (" (ended by itself)" if ended is not None else ""))
    if not samples:
        return 1
    print(f"peak: RSS {mb(max(s[1] for s in samples)):.0f} MB, PSS {mb(max(s[2] for s in samples)):.0f} MB")
    settled = [s for s in samples if s[0] >= args.warmup]
    if settled:
        t0, t1 = settled[0][0], settled[-1][0]
        first = [s for s in settled if s[0] < t0 + 10]
        last = [s for s in settled if s[0] > t1 - 10]
        for name, col in (("RSS", 1), ("PSS", 2)):
            a = statistics.mean(s[col] for s in first)
            b = statistics.mean(s[col] for s in last)
            print(f"{name}: first ten minutes after {args.warmup:g} min warm-up {mb(a):.0f} MB, "
                  f"last ten {mb(b):.0f} MB, drift {100.0 * (b - a) / a:+.1f} %"
                  + (" (the windows overlap: run longer than warm-up + 20 min)" if t1 - t0 < 20 else ""))
    lines = stats_lines(stats)
    print(f"items shown {sum(1 for l in lines if l.startswith('transition '))}, "
          f"movies ended {sum(1 for l in lines if l.startswith('flash frames='))}, "
          f"flash errors {sum(1 for l in lines if l.startswith('flash error='))}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
