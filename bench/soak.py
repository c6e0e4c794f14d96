#!/usr/bin/env python3
"""What playing costs: the program against the sandbox server, walking on its own.

The sandbox's game pages send one of their own move or transit forms after a set delay, so the
program's browser loads every page and the program tracks each one ("Standard" on, the
prediction off, so every page is read). Once a second the resident memory of every process of
the program is sampled, and the processor time they used. Then two idle phases: a page with a
neighbourhood table (nothing to do), and a page without one but with a long chat log (the
page read retries every 150 ms by design). Last, the time from a finished page to the minimap
redrawn (bench/soak_frame_ui), on plain pages and on pages with a long chat log.

    bench/soak.py [build-bench] [--display] [--minutes 2] [--pace 250] [--idle 60]
                  [--idle-table 20] [--env NAME=VALUE ...]

By default the program draws offscreen. --display shows it on the X server in DISPLAY (run it
under xvfb-run where there is none): that is what a player's machine pays, some tens of
megabytes more than offscreen, as the windows get real surfaces there.

--env adds to the program's environment, for trying engine options without a rebuild.
"""

import argparse
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request

TICK = os.sysconf("SC_CLK_TCK")
PAGE_KB = os.sysconf("SC_PAGE_SIZE") // 1024


def settings_file():
    """SETTINGS.DAT with the program's defaults, except the prediction: off, so that every
    page is read as "Standard" reads it."""
    true, false = -1, 0
    rec = struct.pack("<9h", 3, true, true, false, true, true, true, true, 0)
    for header in ("ZEKO2_SNAPSHOT", "ZEKO2_HTML&CSS_DUMP", "ZEKO2_HTML_DUMP"):
        raw = header.encode("cp1252")
        rec += raw.ljust(50, b" ") + bytes([len(raw)]) + struct.pack("<h", 7)
    rec += struct.pack("<h", 0) + struct.pack("<12h", *([0] * 12))
    # top, left, height, width, state, tile pictures, tool bar, map version, usage ping done
    rec += struct.pack("<9h", 0, 0, 9000, 12000, 0, true, true, 1, false)
    rec += b"\0" * 250
    assert len(rec) == 471
    return rec


def process_tree(root):
    parent = {}
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open(f"/proc/{name}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            parent[int(name)] = int(fields[1])
        except OSError:
            pass
    keep = {root}
    changed = True
    while changed:
        changed = False
        for pid, ppid in parent.items():
            if pid not in keep and ppid in keep:
                keep.add(pid)
                changed = True
    return sorted(p for p in keep if p in parent)


def parent_of(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            return int(f.read().rsplit(")", 1)[1].split()[1])
    except (OSError, IndexError, ValueError):
        return None


def read_process(pid):
    """(rss kB, pss kB, cpu seconds, name) or None when it is gone."""
    try:
        with open(f"/proc/{pid}/stat") as f:
            head, rest = f.read().rsplit(")", 1)
        fields = rest.split()
        cpu = (int(fields[11]) + int(fields[12])) / TICK
        rss = int(fields[21]) * PAGE_KB
        pss = rss
        try:
            with open(f"/proc/{pid}/smaps_rollup") as f:
                for line in f:
                    if line.startswith("Pss:"):
                        pss = int(line.split()[1])
                        break
        except OSError:
            pass
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            cmd = f.read().split(b"\0")
        kind = "program"
        for arg in cmd:
            if arg.startswith(b"--type="):
                kind = arg[7:].decode(errors="replace")
        return rss, pss, cpu, kind
    except (OSError, IndexError, ValueError):
        return None


class Sampler(threading.Thread):
    """Samples the program's processes once a second. Processor time is kept per process, so
    a process that ends keeps what it used up to its last sample."""

    def __init__(self, root):
        super().__init__(daemon=True)
        self.root = root
        self.samples = []  # (time, rss MB, pss MB, processes, {kind: rss MB})
        self.cpu = {}  # pid -> seconds
        self.lock = threading.Lock()
        self.stop = threading.Event()

    def cpu_total(self):
        with self.lock:
            return sum(self.cpu.values())

    def run(self):
        while not self.stop.is_set():
            now = time.monotonic()
            rss = pss = 0
            kinds = {}
            pids = process_tree(self.root)
            kind_of = {}
            for pid in pids:
                got = read_process(pid)
                if not got:
                    continue
                r, p, c, kind = got
                # Renderers are forked from a zygote and keep its command line.
                if kind == "zygote" and kind_of.get(parent_of(pid)) == "zygote":
                    kind = "renderer"
                kind_of[pid] = kind
                rss += r
                pss += p
                kinds[kind] = kinds.get(kind, 0) + r / 1024
                with self.lock:
                    self.cpu[pid] = c
            with self.lock:
                self.samples.append((now, rss / 1024, pss / 1024, len(pids), kinds))
            self.stop.wait(max(0.0, 1.0 - (time.monotonic() - now)))

    def between(self, start, end):
        with self.lock:
            return [s for s in self.samples if start <= s[0] <= end]


def slope_per_minute(points):
    if len(points) < 3:
        return 0.0
    n = len(points)
    mx = sum(t for t, _ in points) / n
    my = sum(v for _, v in points) / n
    sxx = sum((t - mx) ** 2 for t, _ in points)
    sxy = sum((t - mx) * (v - my) for t, v in points)
    return sxy / sxx * 60 if sxx else 0.0


class Sandbox:
    def __init__(self, base):
        self.base = base

    def post(self, path, body):
        req = urllib.request.Request(self.base + path, data=body.encode(), method="POST")
        with urllib.request.urlopen(req, timeout=5) as r:
            return r.read().decode()

    def hits(self):
        with urllib.request.urlopen(self.base + "/sandbox/hits?path=/blood.pl", timeout=5) as r:
            return int(r.read().decode().strip())


def wait_until(condition, timeout, step=0.1):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if condition():
            return True
        time.sleep(step)
    return False


def settle(sandbox, quiet):
    """Waits until no page has been asked for during `quiet` seconds."""
    last = sandbox.hits()
    since = time.monotonic()
    while time.monotonic() - since < quiet:
        time.sleep(0.2)
        now = sandbox.hits()
        if now != last:
            last, since = now, time.monotonic()
    return last


def phase_report(name, samples, cpu_seconds, seconds, loads=None, tail=60):
    if not samples:
        return {"name": name}
    last = [s for s in samples if s[0] >= samples[-1][0] - tail]
    r = {
        "name": name,
        "seconds": seconds,
        "peak_rss": max(s[1] for s in samples),
        "avg_rss": sum(s[1] for s in last) / len(last),
        "peak_pss": max(s[2] for s in samples),
        "avg_pss": sum(s[2] for s in last) / len(last),
        "processes": max(s[3] for s in samples),
        "cpu_pct": 100.0 * cpu_seconds / seconds if seconds else 0.0,
        "kinds": samples[-1][4],
    }
    # Growth over the later half, after the engine's caches have warmed up.
    half = samples[len(samples) // 2 :]
    r["growth_rss"] = slope_per_minute([(s[0], s[1]) for s in half])
    r["growth_pss"] = slope_per_minute([(s[0], s[2]) for s in half])
    if loads:
        r["loads"] = loads
        r["cpu_ms_per_load"] = 1000.0 * cpu_seconds / loads
        r["loads_per_s"] = loads / seconds
    return r


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("build", nargs="?", default="build-bench")
    ap.add_argument("--minutes", type=float, default=2.0, help="walking time")
    ap.add_argument("--pace", type=int, default=250, help="ms each page waits before its step")
    ap.add_argument("--idle", type=float, default=60, help="s idle on a page without a table")
    ap.add_argument("--idle-table", type=float, default=20, help="s idle on a page with one")
    ap.add_argument("--display", action="store_true",
                    help="show the program on the X server in DISPLAY instead of offscreen")
    ap.add_argument("--env", action="append", default=[], help="NAME=VALUE for the program")
    ap.add_argument("--frames", type=int, default=60, help="pages timed to the minimap")
    ap.add_argument("--idle-rows", type=float, default=30,
                    help="s idle without a table for the page reads of the whole body and of "
                         "the first rows alone, compared in soak_frame_ui (0: not measured)")
    ap.add_argument("--quiet", action="store_true", help="no progress lines")
    o = ap.parse_args()

    build = os.path.abspath(o.build)
    port = 18080
    with open(os.path.join(build, "CMakeCache.txt")) as f:
        for line in f:
            if line.startswith("ZEKO_SANDBOX_PORT:STRING="):
                port = int(line.split("=", 1)[1])
    folder = tempfile.mkdtemp(prefix="zeko-soak-")
    procs = []

    def say(text):
        if not o.quiet:
            print(f"  [{time.strftime('%H:%M:%S')}] {text}", file=sys.stderr, flush=True)

    try:
        for name in ("zekorama2", "MAP.DAT"):
            shutil.copy2(os.path.join(build, name), folder)
        with open(os.path.join(folder, "SETTINGS.DAT"), "wb") as f:
            f.write(settings_file())
        server = subprocess.Popen(
            [os.path.join(build, "sandbox_server"), "--port", str(port),
             "--map", os.path.join(folder, "MAP.DAT"), "--look", f"walk={o.pace}"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        procs.append(server)
        if "listening" not in server.stdout.readline():
            sys.exit(f"soak: the sandbox server did not start on port {port}")
        sandbox = Sandbox(f"http://127.0.0.1:{port}")
        # The guest plays; enough points for any walk (the walk rests when they run out).
        sandbox.post("/sandbox/place", "ap=9999")

        if o.display:
            if not os.environ.get("DISPLAY"):
                sys.exit("soak: --display needs an X server in DISPLAY (try xvfb-run -a)")
            env = dict(os.environ, QT_QPA_PLATFORM="xcb")
        else:
            env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
        for pair in o.env:
            name, _, value = pair.partition("=")
            env[name] = value
        program = subprocess.Popen([os.path.join(folder, "zekorama2")], cwd=folder, env=env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   start_new_session=True)
        procs.append(program)
        sampler = Sampler(program.pid)
        sampler.start()
        started = time.monotonic()

        if not wait_until(lambda: sandbox.hits() >= 3, 60):
            sys.exit("soak: the program did not start walking")
        say(f"walking (program up after {time.monotonic() - started:.1f} s)")

        # The walk.
        t0, c0, h0 = time.monotonic(), sampler.cpu_total(), sandbox.hits()
        time.sleep(o.minutes * 60)
        t1, c1, h1 = time.monotonic(), sampler.cpu_total(), sandbox.hits()
        walk = phase_report("walk", sampler.between(t0, t1), c1 - c0, t1 - t0, h1 - h0)

        # Idle on a page with a table: the last walking page waits long enough before its step.
        wait_ms = int((o.idle_table + 8) * 1000)
        sandbox.post("/sandbox/place", f"walk={wait_ms}")
        settled = settle(sandbox, 2.0)
        sandbox.post("/sandbox/place", "walk=0&table=none&chat=before")
        say("idle on a page with a table")
        t0, c0 = time.monotonic(), sampler.cpu_total()
        time.sleep(o.idle_table)
        t1, c1 = time.monotonic(), sampler.cpu_total()
        idle_table = phase_report("idle, table", sampler.between(t0, t1), c1 - c0, t1 - t0)

        # Idle on a page without one: the page read retries.
        if not wait_until(lambda: sandbox.hits() > settled, o.idle_table + 30):
            sys.exit("soak: the page without a table never came")
        time.sleep(3)
        say("idle on a page without a table")
        t0, c0 = time.monotonic(), sampler.cpu_total()
        time.sleep(o.idle)
        t1, c1 = time.monotonic(), sampler.cpu_total()
        idle = phase_report("idle, no table", sampler.between(t0, t1), c1 - c0, t1 - t0)
        alive = program.poll() is None
        sampler.stop.set()
        sampler.join()
        os.killpg(program.pid, signal.SIGTERM)
        program.wait(timeout=10)

        # Page complete to minimap redrawn, on plain pages and on pages with a long chat log
        # before the neighbourhood.
        frames = []
        rows_idle = []
        frame_bench = os.path.join(build, "bench", "soak_frame_ui")
        if o.frames > 0 and os.access(frame_bench, os.X_OK):
            for look in ("chat=none", "chat=before"):
                say(f"page to minimap, {look}")
                sandbox.post("/sandbox/place", f"walk={o.pace}&table=shown&{look}&ap=9999")
                run = subprocess.run([frame_bench, folder, str(o.frames)], env=env, cwd=folder,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                     text=True, timeout=180)
                frames.append((look, run.stdout))

            # The retrying read, reading the whole body and the first rows alone.
            sandbox.post("/sandbox/place", "walk=0&table=none&chat=before")
            for how in (("whole body", []), ("first rows", ["rows"])) if o.idle_rows > 0 else ():
                say(f"idle without a table, reading the {how[0]}")
                before = sandbox.hits()
                bench = subprocess.Popen([frame_bench, folder, "0"] + how[1], env=env, cwd=folder,
                                         stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                         start_new_session=True)
                procs.append(bench)
                watch = Sampler(bench.pid)
                watch.start()
                wait_until(lambda: sandbox.hits() > before, 60)
                time.sleep(5)
                t0, c0 = time.monotonic(), watch.cpu_total()
                time.sleep(o.idle_rows)
                t1, c1 = time.monotonic(), watch.cpu_total()
                rows_idle.append(phase_report(f"reading {how[0]}", watch.between(t0, t1),
                                              c1 - c0, t1 - t0))
                watch.stop.set()
                watch.join()
                os.killpg(bench.pid, signal.SIGTERM)
                bench.wait(timeout=10)
    finally:
        for p in reversed(procs):
            if p.poll() is None:
                try:
                    if p is procs[-1] and len(procs) > 1:
                        os.killpg(p.pid, signal.SIGTERM)
                    else:
                        p.terminate()
                    p.wait(timeout=10)
                except (OSError, subprocess.TimeoutExpired):
                    p.kill()
        shutil.rmtree(folder, ignore_errors=True)

    if not alive:
        sys.exit("soak: the program ended during the run")
    print(f"soak ({'on the X display' if o.display else 'offscreen'}): walk {o.minutes:g} min "
          f"at one step per {o.pace} ms, "
          f"idle {o.idle_table:g} s with a table, {o.idle:g} s without")
    print(f"  {'phase':<15} {'peak RSS':>9} {'avg RSS':>8} {'growth':>9} {'peak PSS':>9} "
          f"{'avg PSS':>8} {'growth':>9} {'procs':>5} {'CPU':>7} {'per load':>9}")
    for r in (walk, idle_table, idle):
        if "peak_rss" not in r:
            print(f"  {r['name']:<15} (no samples)")
            continue
        per_load = f"{r['cpu_ms_per_load']:.1f} ms" if "cpu_ms_per_load" in r else ""
        # A slope over less than half a minute of samples says nothing.
        steady = r["seconds"] >= 60
        rss_growth = f"{r['growth_rss']:+6.1f}/min" if steady else f"{'-':>10}"
        pss_growth = f"{r['growth_pss']:+6.1f}/min" if steady else f"{'-':>10}"
        print(f"  {r['name']:<15} {r['peak_rss']:7.0f}MB {r['avg_rss']:6.0f}MB "
              f"{rss_growth} {r['peak_pss']:7.0f}MB {r['avg_pss']:6.0f}MB "
              f"{pss_growth} {r['processes']:5d} {r['cpu_pct']:6.2f}% "
              f"{per_load:>9}")
    if "loads" in walk:
        print(f"  page loads during the walk: {walk['loads']} ({walk['loads_per_s']:.2f}/s)")
    if "kinds" in walk:
        kinds = ", ".join(f"{k} {v:.0f}MB" for k, v in sorted(walk["kinds"].items()))
        print(f"  resident by process at the walk's end: {kinds}")
    if "cpu_pct" in idle and "cpu_pct" in idle_table:
        print(f"  the retrying page read: {idle['cpu_pct'] - idle_table['cpu_pct']:.2f}% of one "
              f"core (idle without a table less idle with one)")
    for r in rows_idle:
        print(f"  idle without a table, {r['name']}: {r['cpu_pct']:.2f}% of one core "
              f"(soak_frame_ui)")
    work = []
    rows_read = []
    for look, text in frames:
        print(f"{look}: {text.rstrip()}")
        for line in text.splitlines():
            m = re.search(r"work after the wait.*p95\s+([0-9.]+) ms", line)
            if m:
                work.append(float(m.group(1)))
            m = re.search(r"first three rows instead.*p95\s+([0-9.]+) ms", line)
            if m:
                rows_read.append(float(m.group(1)))
    # The aims, side by side.
    print("aims:")
    if "peak_rss" in walk:
        print(f"  peak resident memory during the walk {walk['peak_rss']:.0f} MB (aim: at most "
              f"350 MB); growth {walk['growth_rss']:+.1f} MB/min RSS, "
              f"{walk['growth_pss']:+.1f} MB/min PSS (aim: none)")
    if "cpu_pct" in idle and "cpu_pct" in idle_table:
        print(f"  the retrying read {idle['cpu_pct'] - idle_table['cpu_pct']:.2f}% of one core "
              f"(aim: under 2 %)")
    if len(rows_idle) == 2:
        print(f"  the same idle page read by rows alone: {rows_idle[1]['cpu_pct']:.2f}% of one "
              f"core for everything, against {rows_idle[0]['cpu_pct']:.2f}% reading the whole "
              f"body")
    if work:
        print(f"  page complete to minimap redrawn, after the timer's wait: p95 {max(work):.1f} ms"
              f" (aim: well inside 16 ms)")
    if rows_read:
        print(f"  the same with the page read by rows alone: p95 of the read "
              f"{max(rows_read):.1f} ms")
    print("  (avg: the last minute of the phase; growth: the later half; CPU: % of one core, "
          "all processes; RSS counts pages shared between processes once per process, PSS "
          "splits them)")


if __name__ == "__main__":
    main()
