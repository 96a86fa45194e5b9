#!/usr/bin/env python3
"""Measures how the vivo host program's time and memory grow with its input, and writes the figures
into docs/PERFORMANCE.md (the part between the host-scaling markers).

    ./scripts/host-scaling.py [BUILD_DIR] [--sizes 1,10,100]     (default: build-performance)

Projects of 1, 10 and 100 MB are made from each family's example by giving its compiler (or first)
phase a define list that long; build logs of the same sizes from real diagnostic and banner lines.
Each command runs as a child process three times per size (seven times at the example's size and at
1 MB, which take a fraction of a second); the fastest run's wall time and its peak resident memory (as
GNU time reads it) count. Two figures per command: time per MB at the largest size over
time per MB at the smallest, the program's start taken off (linear work stays near 1; the limit is 2), and peak memory over the
input size at the largest size, after taking off the memory of a run on a tiny input (the limit is
4)."""
import os
import pathlib
import platform
import re
import subprocess
import sys
import tempfile
import time

ROOT = pathlib.Path(__file__).resolve().parent.parent
ARGUMENTS = [a for a in sys.argv[1:] if not a.startswith("--")]
BUILD = pathlib.Path(ARGUMENTS[0]).resolve() if ARGUMENTS else ROOT / "build-performance"
SIZES = [1, 10, 100]
if "--sizes" in sys.argv:
    SIZES = [int(s) for s in sys.argv[sys.argv.index("--sizes") + 1].split(",")]
REPORT = ROOT / "docs" / "PERFORMANCE.md"
BEGIN, END = "<!-- host-scaling: begin -->", "<!-- host-scaling: end -->"
MB = 1 << 20
TIME_LIMIT, MEMORY_LIMIT = 2.0, 4.0

# Example projects: (family, file, target version).
PROJECTS = [
    ("KZ 1.00.00", "examples/kz/pump_controller_1.00.00.vivo", "1.02.01"),
    ("Pexa V5.45", "examples/families/pexa-v545/Blinky545.vivo", "1.01.00"),
    ("Pexa V6.00", "examples/families/pexa-v600/Motor600.vivo", "1.01.00"),
    ("Lumo V6", "examples/families/lumo-v6/Sensor6.vivo", "1.01.00"),
    ("Lumo V7", "examples/families/lumo-v7/Gateway7.vivo", "1.01.00"),
    ("Tessaro V9.04", "examples/families/tessaro-v904/Pump904.vivo", "1.01.00"),
]

LOG_LINES = [
    b"KZ Family C/C++ Compiler V.1.02.01\n",
    b"..\\src\\main.c(12) : C2500 (E) Syntax error\n",
    b"C:\\work\\kz\\drivers\\uart.c(140) : C5550 (W) The unused variable \"i\"\n",
    b"** L1100 (W) Cannot find \"B\" specified in option \"start\"\n",
    b"kzcc -cpu=kz600 -output=obj main.c\n",
    b"\n",
]


def build():
    subprocess.run([ROOT / "scripts" / "install-packages.sh", "time"], check=True)
    subprocess.run([ROOT / "scripts" / "build.sh", BUILD, "-DCMAKE_BUILD_TYPE=Release", "-DVIVO_BUILD_TESTS=OFF"],
                   check=True)


def inflate(text, megabytes):
    """The project with its compiler's (else its first) option block grown to about `megabytes` MB by
    one define item with many values, written on one line after the block."""
    lines = text.split("\n")
    blocks = [i for i, line in enumerate(lines) if line.startswith("@options ")]
    compiler = [i for i in blocks if "Compiler" in lines[i]]
    at = (compiler or blocks)[0] + 1
    need = megabytes * MB - len(text)
    values, size, n = [], 0, 0
    while size < need:
        value = f'"BOARD_SETTING_{n}={n}"'
        values.append(value)
        size += len(value) + 1
        n += 1
    lines.insert(at, "[S|DEFINE|" + "|".join(values) + "]")
    return "\n".join(lines)


def measure(command, cwd, runs=3):
    """(wall seconds, peak resident bytes, exit code) of the fastest of `runs` runs; the peak memory as
    GNU time reads it (a child of this script would count the script's own memory, which it shares
    until it starts the program)."""
    figures = pathlib.Path(cwd) / "time.txt"
    best = None
    for _ in range(runs):
        started = time.monotonic()
        child = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", figures, *command], cwd=cwd,
                               stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        seconds = time.monotonic() - started
        kilobytes = int(figures.read_text().split()[-1])
        if best is None or seconds < best[0]:
            best = (seconds, kilobytes * 1024, child.returncode)
    return best


def rows(work):
    vivo = [BUILD / "vivo", "--plugin", BUILD / "Vivo.so"]
    result = []  # (command, family, {size: (seconds, bytes, input bytes)}, tiny bytes)
    for family, example, target in PROJECTS:
        text = (ROOT / example).read_text(encoding="latin-1")
        commands = [("change", ["change", "P.vivo", "--to", target, "--force", "--output", "out.vivo"]),
                    ("change --report", ["change", "P.vivo", "--to", target, "--force", "--output", "out.vivo",
                                         "--report", "r.json"])]
        if family.startswith("KZ"):
            commands.append(("options", ["options", "set-defines", "--project", "P.vivo", "--output", "out.vivo",
                                         "--force", "A=1"]))
        for name, arguments in commands:
            figures = {}
            for size in [0] + SIZES:
                project = work / "P.vivo"
                project.write_text(inflate(text, size) if size else text, encoding="latin-1")
                # Small runs are short: more of them, so that a busy moment does not stand for the start.
                seconds, peak, code = measure(vivo + arguments, work, runs=3 if size >= 10 else 7)
                if code not in (0, 1):  # 1: items need attention
                    raise SystemExit(f"{name} on {family} ({size} MB) exited with {code}")
                figures[size] = (seconds, peak, project.stat().st_size)
            result.append((name, family, figures))
            print(name, family, {s: (round(f[0], 2), f[1] >> 20) for s, f in figures.items()}, flush=True)
    figures = {}
    for size in [0] + SIZES:
        log = work / "build.log"
        with open(log, "wb") as out:
            block = b"".join(LOG_LINES) * 1000
            written = 0
            while written < max(size * MB, len(block)):
                out.write(block)
                written += len(block)
        seconds, peak, code = measure(vivo + ["classify", "build.log"], work, runs=3 if size >= 10 else 7)
        if code not in (0, 1):
            raise SystemExit(f"classify ({size} MB) exited with {code}")
        figures[size] = (seconds, peak, log.stat().st_size)
    result.append(("classify", "build log", figures))
    print("classify", {s: (round(f[0], 2), f[1] >> 20) for s, f in figures.items()}, flush=True)
    return result


def report(measured):
    small, large = SIZES[0], SIZES[-1]
    lines = [BEGIN, "", "## The host program: growth with the input", "",
             f"`scripts/host-scaling.py` on {platform.processor() or platform.machine()}, {os.cpu_count()} cores, "
             f"Release build. Each command three times per size (seven on the example and at 1 MB), the fastest "
             f"run counted: wall time and peak "
             f"resident memory of the child process. *time/MB ratio* = time per MB at {large} MB / time per MB "
             f"at {small} MB, the time of a run on the example as it is (the program's start) taken off both (limit "
             f"{TIME_LIMIT}); *memory/input* = (peak memory at {large} MB − peak memory on the example as it is) "
             f"/ input size (limit {MEMORY_LIMIT}).", "",
             "| command | project | " + " | ".join(f"{s} MB: s, MB peak" for s in SIZES) +
             " | time/MB ratio | memory/input |",
             "|---|---|" + "---:|" * (len(SIZES) + 2)]
    worst_time = worst_memory = 0.0
    for name, family, figures in measured:
        # The start of the program (the run on the example as it is) is no work per MB.
        per_mb = {s: max(figures[s][0] - figures[0][0], 1e-3) / (figures[s][2] / MB) for s in SIZES}
        ratio = per_mb[large] / per_mb[small]
        memory = (figures[large][1] - figures[0][1]) / figures[large][2]
        worst_time, worst_memory = max(worst_time, ratio), max(worst_memory, memory)
        cells = [f"{figures[s][0]:.2f}, {figures[s][1] / MB:.0f}" for s in SIZES]
        lines.append(f"| `{name}` | {family} | " + " | ".join(cells) + f" | {ratio:.2f} | {memory:.2f} |")
    lines += ["", f"Worst time/MB ratio {worst_time:.2f} (limit {TIME_LIMIT}), worst memory/input "
              f"{worst_memory:.2f} (limit {MEMORY_LIMIT}).", "", END]
    section = "\n".join(lines) + "\n"
    text = REPORT.read_text() if REPORT.exists() else ""
    if BEGIN in text and END in text:
        text = text[:text.index(BEGIN)] + section + text[text.index(END) + len(END) + 1:]
    else:
        text = text.rstrip("\n") + "\n\n" + section
    REPORT.write_text(text)
    print(section)


def main():
    if "--no-build" not in sys.argv:
        build()
    with tempfile.TemporaryDirectory() as work:
        report(rows(pathlib.Path(work)))


if __name__ == "__main__":
    main()
