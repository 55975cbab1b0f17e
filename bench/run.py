#!/usr/bin/env python3
# Times the program on scripted input beside its two floors and holds it to its goals.
#
#   bench/run.py [--build DIR] [--n 10000,100000,1000000] [--repeat R]
#   bench/run.py --smoke [--build DIR]    # a second or two: the checks and a health verdict
#
# Per N: N teachers, N party members and N union members are typed in through the entry
# dialog, every registry is listed and emptied, then Esc. One run of the program with the
# capture preloaded keeps what it writes, write by write; the floors write those bytes back
# in the same writes (contract floor) or buffered (buffered floor), and must write exactly
# what the program wrote. Then the program and both floors are timed with their output to
# /dev/null (of R runs, the one with the least CPU time counts), and the program is run on
# N teachers kept to the exit for its peak memory per teacher. Times are CPU times: on a
# shared machine a wall time also holds the waits for a core.
# Exit status: 0 goals met (smoke: healthy), 1 a goal or check missed (smoke: not healthy),
# 2 the benchmark could not run, 130 interrupted.

import argparse
import filecmp
import os
import shutil
import signal
import subprocess
import sys
import tempfile

MAX_RATIO = 1.5  # program time / contract floor time, at every N
MAX_GROWTH = 1.2  # program time per record, largest N / smallest N
MAX_TEACHER_BYTES = 300  # peak bytes per teacher above the empty program, at the largest N
STACK_KB = 256  # the stack limit of every run of the program: lists must be walked by loops
KEYS = {"t": "1", "p": "2", "u": "3"}  # the main-menu key of each registry
# What the smoke run calls healthy. Only what a tiny run on a loaded machine measures
# steadily: the speed goals need the full run.
WRITES_PER_RECORD = 32  # a teacher 26, a party member 28, a union member with 3 works 42
SANE_US = 100  # CPU time per record at most; about 10 now, so a loaded core cannot reach it
SANE_TEACHER_BYTES = (20, 1000)  # at least its fields' text, at most 3x the goal


class Broken(Exception):
    """The benchmark cannot run: no build, or a helper failed."""


class Failed(Exception):
    """A run crashed or ended non-zero, or a floor did not write what the program wrote."""


def record(kind, i):
    # One short word a field, so that each fits a string's own buffer.
    words = [f"n{i}", f"s{i}", f"l{i}", str(i % 65536)]  # the person: names, year of birth
    words += [f"p{i % 7}", str(1950 + i % 70), str(i), f"b{i}"] if kind != "t" else []  # party
    words += ["docent", "phd", "math"] if kind != "p" else []  # teacher
    words += ["3", f"wa{i}", f"wb{i}", f"wc{i}"] if kind == "u" else []  # union: three works
    return " ".join(words)


def write_script(path, n, kinds="tpu", keep=False):
    # A main-menu key and a listing's key wait take one byte each; every other answer skips
    # blanks first. So the line end after a main-menu key is skipped by the next number, the
    # one after "1" (list) answers the key wait, and the one after a category's closing "0"
    # is a main-menu key of its own (one idle pass).
    with open(path, "w", buffering=1 << 20) as out:
        for k in kinds:
            out.write(f"{KEYS[k]}\n2\n")  # ADD; per record: enter, type, keep, append
            for i in range(n):
                out.write(f"1\n1\n{record(k, i)}\n1\n4\n")
            out.write("0\n0\n")
        for k in kinds:
            out.write(f"{KEYS[k]}\n1\n0\n")
        for k in "" if keep else kinds:
            out.write(f"{KEYS[k]}\n" + "4\n" * n + "0\n")  # delete the oldest, N times
        out.write("\x1b")


class Bench:
    def __init__(self, args, work):
        self.args, self.work, tools = args, work, os.path.join(args.build, "bench")
        self.program = os.path.join(args.build, "registry")
        self.floor = os.path.join(tools, "registry_bench_floor")
        self.launcher = os.path.join(tools, "registry_bench_launch")
        self.capture = os.path.join(tools, "libregistry_bench_capture.so")
        if not all(map(os.path.exists, (self.program, self.floor, self.launcher, self.capture))):
            raise Broken(f"build the target registry_bench in {args.build} first")

    def launch(self, inp, *command, keep_as=None, stack=False):
        cmd = [self.launcher, str(STACK_KB if stack else 0),
               self.capture if keep_as else "-", inp, *command]
        env = dict(os.environ, REGISTRY_CAPTURE=keep_as) if keep_as else None
        done = subprocess.run(cmd, cwd=self.work, env=env, capture_output=True, text=True)
        if done.returncode != 0:
            raise Broken(f"the launcher failed: {done.stderr.strip()}")
        run = {k: float(v) for k, v in (f.split("=") for f in done.stdout.split())}
        if run["exit"] != 0 or run["signal"] != 0:
            raise Failed(f"{os.path.basename(command[0])} on {os.path.basename(inp)} ended with "
                         f"exit {run['exit']:.0f}, signal {run['signal']:.0f}, stack limit "
                         f"{STACK_KB if stack else 'none'} KiB")
        return run

    def measure(self, n, repeat):
        full, teachers, cap = (os.path.join(self.work, f"{x}{n}") for x in ("all", "t", "out"))
        write_script(full, n)
        write_script(teachers, n, "t", keep=True)
        self.launch(full, self.program, keep_as=cap, stack=True)
        floors = {"contract": [self.floor, cap + ".out", cap + ".len"]}
        floors["buffered"] = floors["contract"] + ["--buffered"]
        for name, command in floors.items():
            mine = os.path.join(self.work, name)
            self.launch(full, *command, keep_as=mine)
            same = [filecmp.cmp(cap + ext, mine + ext, shallow=False) for ext in (".out", ".len")]
            if not same[0] or (name == "contract" and not same[1]):
                raise Failed(f"N={n}: the {name} floor did not write what the program wrote "
                             f"(same bytes: {same[0]}, same writes: {same[1]})")
        writes, size = os.path.getsize(cap + ".len") // 4, os.path.getsize(cap + ".out")
        best = {}
        for _ in range(repeat):
            for name, command in [("program", [self.program])] + list(floors.items()):
                run = self.launch(full, *command, stack=name == "program")
                # The capture missed nothing, and the floors wrote it all, in as many writes.
                if run["wchar"] != size or (name != "buffered" and run["syscw"] != writes):
                    raise Failed(f"N={n}: {name} wrote {run['wchar']:.0f} bytes in "
                                 f"{run['syscw']:.0f} writes, the capture kept {size} in {writes}")
                best[name] = min(best.get(name, run), run, key=lambda r: r["cpu"])
        kept = self.launch(teachers, self.program, stack=True)
        for name in os.listdir(self.work):
            os.remove(os.path.join(self.work, name))
        us = {name: run["cpu"] / (3 * n) * 1e6 for name, run in best.items()}
        us["program wall"] = best["program"]["wall"] / (3 * n) * 1e6
        return {"n": n, "us": us, "ratio": us["program"] / us["contract"],
                "wall": best["program"]["wall"] / best["contract"]["wall"],
                "flush": (us["contract"] - us["buffered"]) / us["program"],
                "teacher": (kept["maxrss_kb"] - self.empty) * 1024 / n, "writes": writes / (3 * n),
                "calls": writes}

    def run(self):
        esc = os.path.join(self.work, "esc")
        write_script(esc, 0, kinds="")  # Esc alone
        # The empty program's peak wanders by tens of KiB from run to run: take a median.
        self.empty = sorted(self.launch(esc, self.program, stack=True)["maxrss_kb"]
                            for _ in range(5))[2]
        print(f"empty program (Esc alone): peak {self.empty:.0f} KiB; stack limit {STACK_KB} KiB")
        print("| N each kind | program us/rec | contract floor | buffered floor | ratio | "
              "wall ratio | flushes | B/teacher | writes/rec |\n|---:" + "|---:" * 8 + "|")
        rows = []
        for n in self.args.n:
            rows.append(r := self.measure(n, self.args.repeat or (3 if n < 1000000 else 2)))
            print(f"| {n:,} | {r['us']['program']:.2f} | {r['us']['contract']:.2f} | "
                  f"{r['us']['buffered']:.2f} | {r['ratio']:.2f} | {r['wall']:.2f} | "
                  f"{r['flush']:.0%} | {r['teacher']:.0f} | {r['writes']:.1f} |", flush=True)
        print("us/rec: CPU time (user + system) of the best run over the 3N records; flushes: "
              "contract minus\nbuffered floor, as a share of the program's time. Both floors wrote "
              "the program's bytes\nexactly at every N, the contract floor in as many writes.")
        return rows


def goals(rows):
    small, large = rows[0], rows[-1]
    worst = max(rows, key=lambda r: r["ratio"])
    growth, wall = (large["us"][k] / small["us"][k] for k in ("program", "program wall"))
    judged = [(worst["ratio"] <= MAX_RATIO, f"time per record at most {MAX_RATIO}x the contract "
               f"floor's at every N (worst {worst['ratio']:.2f}x at N={worst['n']:,}; wall "
               f"{worst['wall']:.2f}x)"),
              (large["teacher"] <= MAX_TEACHER_BYTES, f"peak memory at most {MAX_TEACHER_BYTES} "
               f"bytes per teacher at N={large['n']:,} ({large['teacher']:.0f} B)")]
    if len(rows) > 1:
        judged.append((growth <= MAX_GROWTH, f"time per record grows at most {MAX_GROWTH}x from "
                       f"N={small['n']:,} to N={large['n']:,} ({growth:.2f}x; wall {wall:.2f}x)"))
    print("goals:")
    for ok, text in judged:
        print(f"  {'pass' if ok else 'MISS'}  {text}")
    print(f"  ok    {large['n']:,} records of each kind listed and deleted, and {large['n']:,} "
          f"teachers destroyed at the exit, under a {STACK_KB} KiB stack limit")
    return all(ok for ok, _ in judged)


def health(rows):
    # What looked wrong, judged on figures that hold still on a loaded machine. The writes
    # are counted between the two sizes, which leaves out the menus around the records.
    small, large = rows[0], rows[-1]
    writes = (large["calls"] - small["calls"]) / (3 * (large["n"] - small["n"]))
    slowest = max(rows, key=lambda r: r["us"]["program"])
    low, high = SANE_TEACHER_BYTES
    wrong = []
    if writes != WRITES_PER_RECORD:
        wrong.append(f"{writes:g} writes a record, not {WRITES_PER_RECORD}")
    if slowest["us"]["program"] > SANE_US:
        wrong.append(f"{slowest['us']['program']:.1f} us a record at N={slowest['n']:,}, "
                     f"over {SANE_US}")
    if not low <= large["teacher"] <= high:
        wrong.append(f"{large['teacher']:.0f} B a teacher at N={large['n']:,}, "
                     f"not {low} to {high}")
    if wrong:
        return False, "NOT healthy: " + "; ".join(wrong)
    return True, (f"healthy (runs exited 0, floors exact, {writes:g} writes/record, "
            f"{slowest['us']['program']:.1f} us/record at most, {large['teacher']:.0f} B/teacher)")


def positive(text):
    if int(text) < 1:
        raise ValueError(text)
    return int(text)


def sizes(text):
    return sorted({positive(x) for x in text.split(",")})


HELP = """\
Times the program on scripted input and judges what it measured. Per N: N teachers, N party
members and N union members are typed in, listed and deleted. Beside the program run two
floors that write its captured output bytes with no program behind them: the contract floor
in the program's own writes (one per line and prompt), the buffered floor in 8 KiB blocks.
Figures: CPU time per record, peak bytes per teacher, writes per record."""

EPILOG = f"""\
goals, judged by a full run:
  time per record at most {MAX_RATIO}x the contract floor's, at every N;
  time per record growing at most {MAX_GROWTH}x from the smallest N to the largest;
  peak memory at most {MAX_TEACHER_BYTES} bytes per teacher at the largest N.
healthy, judged by --smoke (never on speed, which a tiny run on a busy machine cannot judge):
  every run exits 0, the program under a {STACK_KB} KiB stack limit; both floors write the
  program's bytes exactly; {WRITES_PER_RECORD} writes a record; at most {SANE_US} us of CPU a
  record; {SANE_TEACHER_BYTES[0]} to {SANE_TEACHER_BYTES[1]} bytes a teacher.

exit status:
  0    every goal met (--smoke: healthy)
  1    a goal missed, or a check failed: a run crashed or ended non-zero, or did not write
       exactly the captured bytes (--smoke: not healthy)
  2    broken: the benchmark could not run (no build, a helper failed, a bad option)
  130  stopped by Ctrl+C, temporary files removed

Build first: cmake --workflow --preset bench. More in bench/README.md."""


def parse():
    p = argparse.ArgumentParser(description=HELP, epilog=EPILOG,
                                formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--build", metavar="DIR",
                   default=os.path.join(os.path.dirname(__file__), "..", "build-bench"),
                   help="where cmake --workflow --preset bench built the program and its "
                   "helpers (default: build-bench)")
    p.add_argument("--n", metavar="N,...", type=sizes,
                   help="records of each kind, one size after another "
                   "(default: 10000,100000,1000000)")
    p.add_argument("--repeat", metavar="R", type=positive,
                   help="timed runs per N, the one with the least CPU time counts "
                   "(default: 3, and 2 from N=1000000)")
    p.add_argument("--smoke", action="store_true",
                   help="N=1000 and 10000, one run each: the checks, the figures and a "
                   "health verdict, no goals")
    args = p.parse_args()
    if args.smoke and (args.n or args.repeat):
        p.error("--smoke sets N and R itself")
    if args.smoke:
        args.n, args.repeat = [1000, 10000], 1
    args.n = args.n or [10000, 100000, 1000000]
    args.build = os.path.abspath(args.build)
    return args


def main():
    args = parse()
    work = tempfile.mkdtemp(prefix="registry-bench-")
    try:
        print(f"build {args.build}; load average {os.getloadavg()[0]:.1f} at the start")
        rows = Bench(args, work).run()
        print(f"load average {os.getloadavg()[0]:.1f} at the end")
        if args.smoke:
            ok, verdict = health(rows)
            print(f"smoke: {verdict}")
            return 0 if ok else 1
        return 0 if goals(rows) else 1
    except Failed as e:
        print(f"smoke: NOT healthy: {e}" if args.smoke else f"run.py: failed: {e}")
        return 1
    except Broken as e:
        print(f"run.py: broken: {e}", file=sys.stderr)
        return 2
    except KeyboardInterrupt:
        print("\nrun.py: interrupted", file=sys.stderr)
        return 130
    finally:
        signal.signal(signal.SIGINT, signal.SIG_IGN)  # a second Ctrl+C must not stop the cleanup
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
