#!/usr/bin/env python3
"""Throughput of `vivo classify` (text and SARIF) on the 128 MB log of the build output benchmark,
against `wc -l` and `grep -c ' : '` on the same file in the same run.

    ./scripts/classify_throughput.py [BUILD_DIR]      (default: build-performance, a Release build)

prints the report section; scripts/performance.py calls section() for docs/PERFORMANCE.md. The log
comes from `vivo_build_output_benchmark --write_log=FILE`. Each command runs REPETITIONS times, the
commands in turns, so that a shared machine's drifting speed weighs on all of them alike; a time is
the processor time (user and system) of the command, the median of its runs. Output goes to a
regular file, as in CI (`> build.sarif`)."""
import json
import pathlib
import resource
import statistics
import subprocess
import sys

REPETITIONS = 5


def commands(build, log):
    vivo = str(build / "vivo")
    return {
        "wc -l": ["wc", "-l", log],
        "grep -c ' : '": ["grep", "-c", " : ", log],
        "vivo classify": [vivo, "classify", log],
        "vivo classify --format sarif": [vivo, "classify", "--format", "sarif", log],
    }


def processor_seconds(command, output):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    with open(output, "wb") as out:
        done = subprocess.run(command, stdout=out, stderr=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    if done.returncode not in (0, 1):  # vivo classify: 1 when the log holds errors
        raise RuntimeError(f"{' '.join(command)} failed with exit code {done.returncode}")
    return after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime


def measure(build, output_json):
    """Runs the commands and keeps their times in `output_json`; returns what section() needs."""
    folder = pathlib.Path(output_json).parent
    log = folder / "build-128mb.log"
    subprocess.run([build / "vivo_build_output_benchmark", f"--write_log={log}"], check=True)
    runs = commands(build, str(log))
    times = {name: [] for name in runs}
    processor_seconds(["cat", str(log)], "/dev/null")  # the log in the page cache for every command
    for _ in range(REPETITIONS):
        for name, command in runs.items():
            times[name].append(processor_seconds(command, folder / "classify-output"))
    result = {"log_bytes": log.stat().st_size, "lines": sum(1 for _ in open(log, "rb")),
              "seconds": {name: statistics.median(t) for name, t in times.items()}, "runs": times}
    pathlib.Path(output_json).write_text(json.dumps(result, indent=1))
    log.unlink()
    (folder / "classify-output").unlink()
    return result


def section(result):
    """The report's lines for one measurement."""
    seconds = result["seconds"]
    wc, grep = seconds["wc -l"], seconds["grep -c ' : '"]
    lines = [
        "## `vivo classify` on the benchmark log",
        "",
        f"The build output benchmark's log ({result['log_bytes'] >> 20} MB, {result['lines']} lines) read by `vivo classify`",
        "into a file, against reading it with `wc -l` and `grep -c ' : '`: processor time (user and system) of each",
        f"command, medians of {REPETITIONS} runs taken in turns (`scripts/classify_throughput.py`). A ratio is how many",
        "times longer the command takes than the tool it is compared with.",
        "",
        "| command | / `wc -l` | / `grep -c ' : '` |",
        "|---|---:|---:|",
    ]
    for name in ("vivo classify", "vivo classify --format sarif", "grep -c ' : '"):
        time = seconds[name]
        lines.append(f"| `{name}` | {time / wc:.1f} | {time / grep:.2f} |")
    lines.append("")
    return lines


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    build = pathlib.Path(sys.argv[1]).resolve() if len(sys.argv) > 1 else root / "build-performance"
    (build / "performance").mkdir(exist_ok=True)
    print("\n".join(section(measure(build, build / "performance" / "classify.json"))))


if __name__ == "__main__":
    main()
