#!/usr/bin/env python3
"""Measures what the idle watcher (`scrtool saver run`) costs while it waits,
and how soon its show is on screen, under a headless sway with a session bus
of its own.

While it waits (idle time one day, --wait seconds, 60 by default):
  - processor time per minute (user + system, every thread of the watcher);
  - voluntary context switches of all its threads together: each is a wake-up,
    so none means it sleeps until the compositor or the bus says something;
  - resident memory (VmRSS) and its peak (VmHWM).
Then, --shows times (5 by default), with an idle time of 2 s after one key:
  - from the idle notice (the key's time plus the idle time) to the show's
    process, and to its first picture (the show's own "first-item" figure,
    counted from its start), for a package whose first item is a picture.

Run as root (sway refuses root: everything runs as "nobody") or as an
ordinary user. It is a benchmark, not a test: nothing fails, figures are
printed. Needs sway, wtype, dbus-daemon and a built tree.

Usage: scripts/saver-figures.py [--build build] [--wait 60] [--shows 5]
"""
import argparse
import os
import pwd
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

TICKS = os.sysconf("SC_CLK_TCK")


def read(path):
    try:
        with open(path) as f:
            return f.read()
    except OSError:
        return ""


def user_command(argv):
    if os.geteuid() == 0:
        return ["setpriv", "--reuid", "nobody", "--regid", "nogroup", "--clear-groups", "--"] + argv
    return argv


def processor_seconds(pid):
    fields = read(f"/proc/{pid}/stat").rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def voluntary_switches(pid):
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        for line in read(f"/proc/{pid}/task/{task}/status").splitlines():
            if line.startswith("voluntary_ctxt_switches:"):
                total += int(line.split()[1])
    return total


def status_kb(pid, key):
    for line in read(f"/proc/{pid}/status").splitlines():
        if line.startswith(key + ":"):
            return int(line.split()[1])
    return 0


def start_seconds(pid):
    """When the process started, in seconds since boot."""
    fields = read(f"/proc/{pid}/stat").rsplit(")", 1)[1].split()
    return int(fields[19]) / TICKS


def uptime():
    return float(read("/proc/uptime").split()[0])


def shows_of(package):
    found = []
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        words = read(f"/proc/{name}/cmdline").split("\0")
        if len(words) > 2 and os.path.basename(words[0]) == "scrtool" and words[1] == "play" and words[2] == package:
            found.append(int(name))
    return found


def wait_for(condition, timeout):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.005)
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("--wait", type=int, default=60)
    parser.add_argument("--shows", type=int, default=5)
    args = parser.parse_args()
    tool = os.path.abspath(os.path.join(args.build, "bin", "scrtool"))
    source = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

    folder = tempfile.mkdtemp(prefix="saver-figures-")
    os.chmod(folder, 0o755)
    runtime, home = os.path.join(folder, "runtime"), os.path.join(folder, "home")
    for path in (runtime, home):
        os.mkdir(path)
        if os.geteuid() == 0:
            nobody = pwd.getpwnam("nobody")
            os.chown(path, nobody.pw_uid, nobody.pw_gid)
    os.chmod(runtime, 0o700)
    with open(os.path.join(folder, "sway.config"), "w") as f:
        f.write("output HEADLESS-1 resolution 1920x1080\n")
    os.chmod(os.path.join(folder, "sway.config"), 0o644)
    # A package whose first item is a picture.
    manifest = os.path.join(folder, "show.json")
    with open(manifest, "w") as f:
        f.write('{"name": "Figures", "format_level": 5, "items": [{"file": "%s", "kind": "picture", '
                '"display_seconds": 30}]}' % os.path.join(source, "tests/data/testorig.jpg"))
    package = os.path.join(folder, "show.scr")
    subprocess.run([tool, "pack", manifest, "-o", package], check=True, stdout=subprocess.DEVNULL)
    os.chmod(package, 0o644)

    env = {"HOME": home, "PATH": "/usr/bin:/bin", "XDG_RUNTIME_DIR": runtime, "LANG": "C.UTF-8",
           "DBUS_SESSION_BUS_ADDRESS": f"unix:path={runtime}/bus", "XDG_SESSION_TYPE": "wayland"}
    started = []

    def start(argv, extra=None, log=os.devnull):
        out = open(log, "w")
        process = subprocess.Popen(user_command(argv), env={**env, **(extra or {})}, stdout=out, stderr=out)
        started.append(process)
        return process

    try:
        start(["dbus-daemon", "--session", "--nofork", "--nopidfile", f"--address=unix:path={runtime}/bus"])
        start(["sway", "-c", os.path.join(folder, "sway.config")],
              {"WLR_BACKENDS": "headless", "WLR_LIBINPUT_NO_DEVICES": "1", "WLR_RENDERER": "pixman"})
        display = wait_for(lambda: next((n for n in os.listdir(runtime)
                                         if n.startswith("wayland-") and not n.endswith(".lock")), None), 20)
        if not display:
            sys.exit("sway did not start")
        env["WAYLAND_DISPLAY"] = display

        # Waiting.
        watcher = start([tool, "saver", "run", package, "--after", "86400"])
        time.sleep(3)
        cpu0, switches0 = processor_seconds(watcher.pid), voluntary_switches(watcher.pid)
        time.sleep(args.wait)
        cpu1, switches1 = processor_seconds(watcher.pid), voluntary_switches(watcher.pid)
        threads = len(os.listdir(f"/proc/{watcher.pid}/task"))
        print(f"waiting {args.wait} s, idle time one day ({threads} threads):")
        print(f"  processor time: {(cpu1 - cpu0) * 60 / args.wait:.3f} s per minute")
        print(f"  voluntary context switches: {switches1 - switches0} in {args.wait} s")
        print(f"  resident: {status_kb(watcher.pid, 'VmRSS') / 1024:.1f} MB "
              f"(peak {status_kb(watcher.pid, 'VmHWM') / 1024:.1f} MB)")
        watcher.send_signal(signal.SIGTERM)
        watcher.wait(10)

        # Showing.
        stats = os.path.join(home, "stats.txt")
        watcher = start([tool, "saver", "run", package, "--after", "2"], {"SCRPLAYER_STATS": stats})
        time.sleep(1)
        to_process, to_picture = [], []
        for _ in range(args.shows):
            if os.path.exists(stats):
                os.remove(stats)
            subprocess.run(user_command(["wtype", "-k", "Shift_L"]), env=env, check=True)
            notice = uptime() + 2
            show = wait_for(lambda: shows_of(package), 15)
            if not show:
                sys.exit("no show came")
            first = wait_for(lambda: next((l for l in read(stats).splitlines() if l.startswith("first-item ms=")),
                                          None), 15)
            begun = start_seconds(show[0]) - notice
            to_process.append(begun)
            if first:
                to_picture.append(begun + int(first.split("=")[1]) / 1000)
            subprocess.run(user_command(["wtype", "-k", "Shift_L"]), env=env, check=True)
            wait_for(lambda: not shows_of(package), 10)
            time.sleep(0.5)
        print(f"showing, {args.shows} times, a package whose first item is a picture, 1920 x 1080:")
        print(f"  idle notice to the show's process: median {statistics.median(to_process):.2f} s, "
              f"max {max(to_process):.2f} s")
        if to_picture:
            print(f"  idle notice to its first picture: median {statistics.median(to_picture):.2f} s, "
                  f"max {max(to_picture):.2f} s")
    finally:
        for process in reversed(started):
            process.send_signal(signal.SIGTERM)
            try:
                process.wait(10)
            except subprocess.TimeoutExpired:
                process.kill()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
