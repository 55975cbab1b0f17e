#!/usr/bin/env python3
"""Runs the program and its floor on scripted inputs and prints what they cost.

For every N it writes a script (N teachers, N party members and N union members
with three works each, typed in through the entry dialog, every registry
listed, every record deleted, Esc), runs the program and the floor on it with
standard output to /dev/null (or to a pipe that is drained, with --pipe), and
prints wall time, CPU time, time per record, the ratio program/floor, the peak
resident size of the child and the bytes per record above the empty program's
peak. A second script per N holds N teachers alone and leaves the program with
them still in the list: its peak gives the bytes per teacher record.

Every run of the program has a small stack limit (--stack-kb, 256 KiB by
default), so a listing, a delete or the destruction of the lists that grew
the stack with the number of records would end in a crash, not pass.

    bench/run.py [--build DIR] [--n 10000,100000,1000000] [--repeat R] [--pipe]

Inputs are written under a temporary directory in /tmp and removed afterwards.
"""

import argparse
import os
import platform
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

# Goals the figures are held against.
MAX_FLOOR_RATIO = 1.5  # time per record, program / floor, at every N
MAX_GROWTH = 1.2  # time per record at the largest N / at the smallest N
MAX_TEACHER_BYTES = 300  # peak bytes per teacher record above the empty program
SCALE_N = 1000000  # the number of records the stack goal is about


def parse_args():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--build", default=os.path.join(ROOT, "build-bench"),
                   help="build directory with registry and bench/ (default: build-bench)")
    p.add_argument("--n", default="10000,100000,1000000",
                   help="records of each kind, comma separated (default: 10^4, 10^5, 10^6)")
    p.add_argument("--repeat", type=int, default=0,
                   help="runs per N, the fastest counts (default: 3 below 10^6, 1 from there)")
    p.add_argument("--pipe", action="store_true",
                   help="output to a pipe drained by the launcher instead of /dev/null")
    p.add_argument("--stack-kb", type=int, default=256,
                   help="stack limit of every program run, KiB (0: none)")
    p.add_argument("--workdir", default=None, help="where inputs go (default: a new dir in /tmp)")
    return p.parse_args()


class Tools:
    def __init__(self, build):
        self.registry = os.path.join(build, "registry")
        self.floor = os.path.join(build, "bench", "registry_floor")
        self.script = os.path.join(build, "bench", "registry_bench_script")
        self.launch = os.path.join(build, "bench", "registry_bench_launch")
        for path in (self.registry, self.floor, self.script, self.launch):
            if not os.access(path, os.X_OK):
                sys.exit(f"run.py: {path} is missing; build with -DREGISTRY_BENCH=ON first")


def write_script(tools, path, n, *extra):
    with open(path, "wb") as out:
        subprocess.run([tools.script, str(n), *extra], stdout=out, check=True)


def launch(tools, workdir, program, inp, out="/dev/null", pipe=False, stack_kb=0):
    cmd = [tools.launch]
    if stack_kb > 0:
        cmd.append(f"--stack-kb={stack_kb}")
    if pipe:
        cmd.append("--pipe")
    cmd += [inp, out, "--", program]
    line = subprocess.run(cmd, cwd=workdir, check=True, capture_output=True, text=True).stdout
    fields = dict(item.split("=", 1) for item in line.split())
    run = {k: float(v) for k, v in fields.items()}
    run["cpu"] = run["user"] + run["sys"]
    return run


def check_failed(run):
    return run["exit"] != 0 or run["signal"] != 0


def machine_note():
    cpu = "unknown CPU"
    try:
        with open("/proc/cpuinfo") as f:
            for line in f:
                if line.startswith("model name"):
                    cpu = line.split(":", 1)[1].strip()
                    break
    except OSError:
        pass
    return f"{os.cpu_count()} cores, {cpu}, Linux {platform.release()}"


def loadavg():
    try:
        with open("/proc/loadavg") as f:
            return " ".join(f.read().split()[:3])
    except OSError:
        return "?"


def build_type(build):
    try:
        with open(os.path.join(build, "CMakeCache.txt")) as f:
            for line in f:
                if line.startswith("CMAKE_BUILD_TYPE:"):
                    return line.split("=", 1)[1].strip() or "(none)"
    except OSError:
        pass
    return "?"


def self_check(tools, workdir):
    """The floor must print what the program prints, with as many writes."""
    inp = os.path.join(workdir, "check.in")
    for extra in ([], ["--keep"], ["--kinds=t"]):
        write_script(tools, inp, 50, *extra)
        outs = {}
        runs = {}
        for name, program in (("program", tools.registry), ("floor", tools.floor)):
            outs[name] = os.path.join(workdir, f"check.{name}.out")
            runs[name] = launch(tools, workdir, program, inp, outs[name])
            if check_failed(runs[name]):
                sys.exit(f"run.py: {name} failed on the check script {extra}: {runs[name]}")
        with open(outs["program"], "rb") as a, open(outs["floor"], "rb") as b:
            if a.read() != b.read():
                sys.exit(f"run.py: the floor's output differs from the program's {extra}")
        if runs["program"]["syscw"] != runs["floor"]["syscw"]:
            sys.exit(f"run.py: write calls differ: program {runs['program']['syscw']:.0f}, "
                     f"floor {runs['floor']['syscw']:.0f} {extra}")
    for name in ("check.in", "check.program.out", "check.floor.out"):
        os.remove(os.path.join(workdir, name))
    return runs["program"]["syscw"]


def fastest(runs):
    return min(runs, key=lambda r: r["wall"])


def main():
    args = parse_args()
    tools = Tools(os.path.abspath(args.build))
    ns = [int(x) for x in args.n.split(",") if x.strip()]
    if not ns or min(ns) < 1:
        sys.exit("run.py: --n takes positive numbers of records")
    own_workdir = args.workdir is None
    workdir = tempfile.mkdtemp(prefix="registry-bench-") if own_workdir else args.workdir
    os.makedirs(workdir, exist_ok=True)
    try:
        run_all(args, tools, ns, workdir)
    finally:
        if own_workdir:
            shutil.rmtree(workdir, ignore_errors=True)


def run_all(args, tools, ns, workdir):
    out = "pipe (drained)" if args.pipe else "/dev/null"
    print(f"machine: {machine_note()}; load average at start {loadavg()}")
    print(f"build: {args.build} ({build_type(args.build)}); output to {out}; "
          f"stack limit {args.stack_kb} KiB for the program")
    writes = self_check(tools, workdir)
    print(f"check: on a 50-record script the floor prints the program's bytes with as many "
          f"write calls ({writes:.0f}): OK")

    empty_in = os.path.join(workdir, "empty.in")
    with open(empty_in, "wb") as f:
        f.write(b"\x1b")
    # Its peak wanders by some tens of KiB from run to run: take the median of five.
    empty = sorted(launch(tools, workdir, tools.registry, empty_in,
                          stack_kb=args.stack_kb)["maxrss_kb"] for _ in range(5))[2]
    empty_floor = launch(tools, workdir, tools.floor, empty_in)["maxrss_kb"]
    print(f"empty program (Esc only): median peak RSS {empty:.0f} KiB; floor {empty_floor:.0f} KiB")
    print()

    rows = []
    for n in ns:
        repeat = args.repeat if args.repeat > 0 else (3 if n < 1000000 else 1)
        inp = os.path.join(workdir, f"all-{n}.in")
        write_script(tools, inp, n)
        size = os.path.getsize(inp)
        prog_runs, floor_runs = [], []
        for _ in range(repeat):
            prog_runs.append(launch(tools, workdir, tools.registry, inp, pipe=args.pipe,
                                    stack_kb=args.stack_kb))
            floor_runs.append(launch(tools, workdir, tools.floor, inp, pipe=args.pipe))
        os.remove(inp)
        keep_in = os.path.join(workdir, f"teachers-{n}.in")
        write_script(tools, keep_in, n, "--kinds=t", "--keep")
        keep = launch(tools, workdir, tools.registry, keep_in, stack_kb=args.stack_kb)
        os.remove(keep_in)
        prog, flo = fastest(prog_runs), fastest(floor_runs)
        records = 3 * n
        row = {
            "n": n, "records": records, "input_mb": size / 1e6, "repeat": repeat,
            "prog": prog, "floor": flo, "keep": keep,
            "ok": not any(check_failed(r) for r in prog_runs + floor_runs + [keep]),
            "us_rec": prog["wall"] / records * 1e6,
            "floor_us_rec": flo["wall"] / records * 1e6,
            "ratio": prog["wall"] / flo["wall"],
            "cpu_ratio": prog["cpu"] / flo["cpu"],
            "bytes_rec": (prog["maxrss_kb"] - empty) * 1024 / records,
            "bytes_teacher": (keep["maxrss_kb"] - empty) * 1024 / n if n else 0.0,
            "writes_rec": prog["syscw"] / records,
        }
        rows.append(row)
        print_row(row)
        sys.stdout.flush()

    print()
    print_table(rows)
    print()
    print_goals(rows, args)
    print(f"load average at end {loadavg()} (2 cores shared with other builds: "
          f"wall times carry their noise, CPU times less so)")


def print_row(r):
    p, f, k = r["prog"], r["floor"], r["keep"]
    status = "" if r["ok"] else "  FAILED RUN"
    print(f"N={r['n']}: {r['records']} records, script {r['input_mb']:.1f} MB, "
          f"best of {r['repeat']}{status}")
    print(f"  program: wall {p['wall']:.3f} s (user {p['user']:.3f} + sys {p['sys']:.3f}), "
          f"peak {p['maxrss_kb']:.0f} KiB, {p['syscw']:.0f} writes, exit {p['exit']:.0f}")
    print(f"  floor:   wall {f['wall']:.3f} s (user {f['user']:.3f} + sys {f['sys']:.3f}), "
          f"peak {f['maxrss_kb']:.0f} KiB, {f['syscw']:.0f} writes")
    print(f"  {r['n']} teachers kept to the exit: wall {k['wall']:.3f} s, "
          f"peak {k['maxrss_kb']:.0f} KiB, exit {k['exit']:.0f}")


def print_table(rows):
    head = ("N", "records", "wall s", "us/rec", "floor us/rec", "ratio", "cpu ratio",
            "peak KiB", "B/rec", "B/teacher", "writes/rec")
    print("| " + " | ".join(head) + " |")
    print("|" + "|".join("---:" for _ in head) + "|")
    for r in rows:
        cells = (f"{r['n']:,}", f"{r['records']:,}", f"{r['prog']['wall']:.2f}",
                 f"{r['us_rec']:.2f}", f"{r['floor_us_rec']:.2f}", f"{r['ratio']:.2f}",
                 f"{r['cpu_ratio']:.2f}", f"{r['prog']['maxrss_kb']:,.0f}", f"{r['bytes_rec']:.0f}",
                 f"{r['bytes_teacher']:.0f}", f"{r['writes_rec']:.1f}")
        print("| " + " | ".join(cells) + " |")


def verdict(ok):
    return "PASS" if ok else "MISS"


def print_goals(rows, args):
    print("goals:")
    worst = max(rows, key=lambda r: r["ratio"])
    worst_cpu = max(rows, key=lambda r: r["cpu_ratio"])
    print(f"  {verdict(worst['ratio'] <= MAX_FLOOR_RATIO)}  time per record within "
          f"{MAX_FLOOR_RATIO}x the floor at every N (worst {worst['ratio']:.2f}x at "
          f"N={worst['n']}; CPU worst {worst_cpu['cpu_ratio']:.2f}x at N={worst_cpu['n']})")
    small = min(rows, key=lambda r: r["n"])
    large = max(rows, key=lambda r: r["n"])
    if large["n"] > small["n"]:
        growth = large["us_rec"] / small["us_rec"]
        cpu_growth = (large["prog"]["cpu"] / large["records"]) / (
            small["prog"]["cpu"] / small["records"])
        print(f"  {verdict(growth <= MAX_GROWTH)}  time per record at N={large['n']} at most "
              f"{MAX_GROWTH}x that at N={small['n']} ({growth:.2f}x; CPU {cpu_growth:.2f}x)")
    else:
        print("  n/a   growth: needs two values of N")
    # The empty program's peak wanders by up to some 100 KiB from run to run, which is
    # a lot per record at small N: the largest N is the one that tells.
    mem = large
    print(f"  {verdict(mem['bytes_teacher'] <= MAX_TEACHER_BYTES)}  peak memory at most "
          f"{MAX_TEACHER_BYTES} bytes per teacher record above the empty program "
          f"({mem['bytes_teacher']:.0f} B at N={mem['n']})")
    big = [r for r in rows if r["n"] >= SCALE_N]
    if not big:
        print(f"  n/a   listing, deleting and exiting with {SCALE_N:,} records: needs N >= "
              f"{SCALE_N:,}")
    elif args.stack_kb <= 0:
        print("  n/a   stack: runs had no stack limit (--stack-kb 0)")
    else:
        r = max(big, key=lambda x: x["n"])
        ok = r["prog"]["exit"] == 0 and r["prog"]["signal"] == 0 and r["keep"]["exit"] == 0 \
            and r["keep"]["signal"] == 0
        print(f"  {verdict(ok)}  listing and deleting {r['n']:,} records of each kind, and exiting "
              f"with {r['n']:,} teachers held, under a {args.stack_kb} KiB stack limit (exit "
              f"{r['prog']['exit']:.0f} and {r['keep']['exit']:.0f})")
    if not all(r["ok"] for r in rows):
        print("  some run failed: see the lines above")


if __name__ == "__main__":
    main()
