#!/usr/bin/env python3
"""Builds the benchmarks (Release), runs them once and writes docs/PERFORMANCE.md from that run.

    ./scripts/performance.py [BUILD_DIR] [--from-json]     (default: build-performance)

--from-json writes the report again from the JSON of the last run, without building or running.

Every figure in the report is a ratio of two times measured in the same run, so that it says
something about the code and little about the machine. The JSON of the run is kept beside the report
generator's build folder (BUILD_DIR/performance/*.json)."""
import json
import os
import pathlib
import platform
import subprocess
import sys

import classify_throughput

ROOT = pathlib.Path(__file__).resolve().parent.parent
ARGUMENTS = [a for a in sys.argv[1:] if not a.startswith("--")]
FROM_JSON = "--from-json" in sys.argv[1:]
BUILD = pathlib.Path(ARGUMENTS[0]).resolve() if ARGUMENTS else ROOT / "build-performance"
BUILD_I686 = BUILD.parent / (BUILD.name + "-i686")  # the product, cross-built, run under Wine
REPORT = ROOT / "docs" / "PERFORMANCE.md"
REPETITIONS = 3
# Processor seconds per benchmark and repetition: enough for steady medians, short enough for a
# shared machine, where processor time passes more slowly than the wall clock.
MIN_TIME = os.environ.get("VIVO_BENCHMARK_MIN_TIME", "0.1")
GROWTH_LIMIT = 2.0  # time per byte at 1 MB may be at most this multiple of that at 1 KB


def run(command, **kwargs):
    print("+", " ".join(str(c) for c in command), flush=True)
    return subprocess.run(command, check=True, **kwargs)


def build():
    run([ROOT / "scripts" / "install-packages.sh", "g++", "cmake", "make", "libbenchmark-dev", "libgtest-dev",
         "libgmock-dev"])
    run(["cmake", "-S", ROOT, "-B", BUILD, "-DCMAKE_BUILD_TYPE=Release", "-DVIVO_BUILD_TESTS=OFF"],
        stdout=subprocess.DEVNULL)
    run(["cmake", "--build", BUILD, "-j", str(os.cpu_count() or 2), "--target", "vivo_export_benchmark",
         "vivo_build_output_benchmark", "vivo_builds_benchmark", "vivo_host"])
    run([ROOT / "scripts" / "install-packages.sh", "mingw-w64", "wine", "wine64"])
    run([ROOT / "scripts" / "install-wine32.sh"])
    run(["cmake", "-S", ROOT, "-B", BUILD_I686, "-DCMAKE_BUILD_TYPE=Release", "-DVIVO_BUILD_TESTS=OFF",
         f"-DCMAKE_TOOLCHAIN_FILE={ROOT / 'cmake' / 'toolchains' / 'mingw-i686.cmake'}"], stdout=subprocess.DEVNULL)
    run(["cmake", "--build", BUILD_I686, "-j", str(os.cpu_count() or 2), "--target", "vivo_builds_benchmark"])


def builds_benchmark(out):
    """Runs the Linux and the i686 build of vivo_builds_benchmark twice each, in turns; returns for each
    build {name: the smaller of its two runs' times, or the mean of their ratios} and the commands."""
    linux = [BUILD / "vivo_builds_benchmark", ROOT]
    # Wine's own prefix for the run, without Mono or Gecko prompts; the program needs no display.
    env = dict(os.environ, WINEPREFIX=str(BUILD_I686 / "wine-prefix"), WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=")
    i686 = ["wine", BUILD_I686 / "vivo_builds_benchmark.exe", f"Z:{ROOT}"]
    results = {"linux": {}, "i686": {}}
    for turn in (1, 2):
        for build, command in (("linux", linux), ("i686", i686)):
            path = out / f"builds-{build}-{turn}.txt"
            if not FROM_JSON:
                with open(path, "w") as output:
                    run(command, stdout=output, stdin=subprocess.DEVNULL, env=env)
            for line in path.read_text().replace("\r", "").splitlines():
                name, value = line.split("\t")
                value = float(value)
                best = results[build].get(name)
                results[build][name] = value if best is None else (
                    (best + value) / 2 if name.endswith("InTurns") else min(best, value))
    return results, ("vivo_builds_benchmark SOURCE_DIR", "wine vivo_builds_benchmark.exe SOURCE_DIR")


def benchmark(program, output, *arguments):
    """Runs one benchmark program with its JSON written to `output`; returns the command as shown."""
    if FROM_JSON:
        return " ".join([program, *arguments])
    command = [BUILD / program, f"--benchmark_out={output}", "--benchmark_out_format=json", *arguments]
    # Standard input is no terminal, so the summary dialog writes its text instead of asking.
    run(command, stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL, cwd=BUILD)
    return " ".join([program, *arguments])


def medians(path):
    """name -> (time per iteration in ns, the run's record) from the medians, or the single runs."""
    data = json.loads(pathlib.Path(path).read_text())
    factor = {"ns": 1.0, "us": 1e3, "ms": 1e6, "s": 1e9}
    result = {}
    for entry in data["benchmarks"]:
        if entry.get("error_occurred"):
            result[entry["run_name"]] = (None, entry)
            continue
        name = entry.get("run_name", entry["name"])
        if entry.get("run_type") == "aggregate":
            if entry.get("aggregate_name") != "median":
                continue
        elif name in result:
            continue  # a repetition: the median stands for it
        # Processor time of the measuring thread: on a shared machine it holds still where the wall
        # clock follows the other processes.
        result[name] = (entry["cpu_time"] * factor[entry.get("time_unit", "ns")], entry)
    return data["context"], result


def machine():
    model = "unknown"
    try:
        for line in pathlib.Path("/proc/cpuinfo").read_text().splitlines():
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    except OSError:
        pass
    return model, os.cpu_count(), platform.platform()


def fmt(value, digits=2):
    return "n/a" if value is None else f"{value:.{digits}f}"


def main():
    if not FROM_JSON:
        build()
    out = BUILD / "performance"
    out.mkdir(exist_ok=True)
    exports_json = out / "exports.json"
    output_json = out / "build_output.json"
    export_command = benchmark("vivo_export_benchmark", exports_json, f"--benchmark_min_time={MIN_TIME}",
                               f"--benchmark_repetitions={REPETITIONS}",
                               "--benchmark_report_aggregates_only=true")
    output_command = benchmark("vivo_build_output_benchmark", output_json)
    builds, builds_commands = builds_benchmark(out)

    context, times = medians(exports_json)
    _, output_times = medians(output_json)
    model, cores, system = machine()
    reference = times["Reference/ParseOptionString"][0]
    copy = times["Reference/CopyOptionString"][0]

    lines = []
    add = lines.append
    add("# Performance")
    add("")
    add("Generated by `scripts/performance.py` from one run of the benchmarks; do not edit by hand.")
    add("Every figure is a ratio of two processor times (of the measuring thread) taken in that run, medians of")
    add(f"{REPETITIONS} repetitions where repeated, so that it holds across machines; absolute times are in the")
    add("run's JSON only. The export benchmark keeps freed memory in the allocator (`mallopt`), as a host that")
    add("has run for a while does, so that large temporary strings do not pay the kernel's fresh pages per call.")
    add("")
    add("## Machine and commands")
    add("")
    add(f"- CPU: {model}, {cores} logical CPUs (`nproc`), {system}")
    add(f"- benchmark library: {context.get('library_build_type', '?')} build, "
        f"CPU scaling {'on' if context.get('cpu_scaling_enabled') else 'off'}, load average "
        f"{', '.join(f'{x:.2f}' for x in context.get('load_avg', []))}")
    add(f"- build: `cmake -S . -B {BUILD.name} -DCMAKE_BUILD_TYPE=Release` (g++ -O3)")
    add(f"- `{export_command} --benchmark_out=exports.json --benchmark_out_format=json`")
    add(f"- `{output_command} --benchmark_out=build_output.json --benchmark_out_format=json`")
    add("")

    add("## Growth with the size of the option string")
    add("")
    add("Time per byte of each option-string operation at 32 KB and at 1 MB, divided by its time per byte at")
    add("1 KB. Linear time gives 1 (or less, as fixed costs spread); the limit is "
        f"{GROWTH_LIMIT:g}. Half of each option string is the item the operation reads or writes (a list")
    add("of directories, defines, libraries or memory areas), half is other items around it; the Set")
    add("operations and UpdateLinkerSections get a new list of half the size, counted in the bytes.")
    add("")
    add("| operation | bytes at 1 KB | 32 KB / 1 KB | 1 MB / 1 KB | within the limit |")
    add("|---|---:|---:|---:|---|")
    growth_names = sorted({name.split("/")[1] for name in times if name.startswith("Grow/")},
                          key=lambda n: [k for k in times if k.startswith(f"Grow/{n}/")][0])
    failures = []
    for name in growth_names:
        per_byte = {}
        for size in (1 << 10, 1 << 15, 1 << 20):
            time, entry = times.get(f"Grow/{name}/{size}", (None, None))
            bytes_read = entry.get("bytes") if entry else None
            per_byte[size] = time / bytes_read if time and bytes_read else None
            if size == 1 << 10:
                small_bytes = bytes_read
        base = per_byte[1 << 10]
        mid = per_byte[1 << 15] / base if base and per_byte[1 << 15] else None
        big = per_byte[1 << 20] / base if base and per_byte[1 << 20] else None
        ok = big is not None and big <= GROWTH_LIMIT
        if not ok:
            failures.append(name)
        add(f"| {name} | {int(small_bytes or 0)} | {fmt(mid)} | {fmt(big)} | {'yes' if ok else '**no**'} |")
    add("")

    add("## Latency of every export")
    add("")
    add("One call on a representative input (a KZ project's compiler or linker option string of")
    add("a few hundred bytes, a change from KZ 1.00.00 to 1.02.01, the shipped INI files), divided by two")
    add("yardsticks of the same run: parsing the compiler's option string into its items")
    add("(`ParseOptionString`) and copying it (`std::string`). Calls inside a change also reset the")
    add("summary each time. `DisplaySummaryInformation` includes writing `Upgrade.txt` and the summary")
    add("text to standard error.")
    add("")
    add(f"Parsing the option string takes {fmt(reference / copy, 1)} copies of it.")
    add("")
    add("| export | / parse | / copy |")
    add("|---|---:|---:|")
    for name in sorted((n for n in times if n.startswith("Export/")),
                       key=lambda n: list(times).index(n)):
        time = times[name][0]
        add(f"| `{name.split('/', 1)[1]}` | {fmt(time / reference if time else None)} | "
            f"{fmt(time / copy if time else None, 1)} |")
    add("")

    add("## A whole toolchain change per example project")
    add("")
    add("The calls of `vivo change` without its dialog (`CanUpgradeToolchain`, `ResetSummaryInformation`,")
    add("`UpgradePhaseOrder`, `UpgradePhases` and `UpgradePhaseOptions` for every new phase,")
    add("`UpgradePhaseMappings`) on each project under `examples/`, divided by one parse of the option")
    add("string and by the fastest change of the run.")
    add("")
    changes = [n for n in times if n.startswith("Change/")]
    fastest = min((times[n][0] for n in changes if times[n][0]), default=None)
    add("| project folder | versions | / parse | / fastest change |")
    add("|---|---|---:|---:|")
    for name in changes:
        _, family, versions = name.split("/", 2)
        time = times[name][0]
        add(f"| `{family}` | {versions.replace('-', ' to ')} | {fmt(time / reference if time else None, 0)} | "
            f"{fmt(time / fastest if time and fastest else None)} |")
    add("")

    add("## Build output classification")
    add("")
    add("From `benchmarks/build_output_benchmark.cpp`: lines per second of classifying a synthetic build log")
    add("through `ClassifyOutputLine`, against cutting the same bytes into lines with `memchr` alone and")
    add("against the same classification table matched with `std::regex` (on the log's first 4 MB).")
    add("")
    # Names carry the benchmark's settings ("BM_Classify/min_time:2.000/repeats:3").
    rates = {name.split("/")[0]: entry.get("lines/s") for name, (_, entry) in output_times.items()}
    split, ours, regex = rates.get("BM_SplitWithMemchr"), rates.get("BM_Classify"), rates.get("BM_ClassifyWithRegex")
    in_turns = {name.split("/")[0]: entry.get("ratio") for name, (_, entry) in output_times.items()}.get(
        "BM_ClassifyInTurnsWithSplit")
    add("The split is measured twice: as a benchmark of its own before the classification, and in turns with")
    add("it, each pass over the log timed on its own; a shared machine's drifting speed tilts only the first.")
    add("")
    add("| comparison | ratio of lines per second |")
    add("|---|---:|")
    add(f"| classification / memchr line split, in turns | {fmt(in_turns)} |")
    add(f"| classification / memchr line split, one after the other | {fmt(ours / split if ours and split else None)} |")
    add(f"| classification / std::regex | {fmt(ours / regex if ours and regex else None, 1)} |")
    add("")

    add("## The i686 product beside the Linux build")
    add("")
    add("From `benchmarks/builds_benchmark.cpp`, one source built twice and run on the same machine: as the")
    add("Linux build above, and as the product, the i686 `Vivo.dll`'s code (mingw-w64 g++ -O3, without")
    add("the Linux build's link-time optimisation), run as a Win32 program under Wine's 32-bit part, which runs")
    add("it as native code; so the times of the two builds compare too. Each program ran twice, in turns with")
    add("the other. In each run the things compared take turns in 9 rounds, each timed in processor time of")
    add("the thread (`GetThreadTimes` on Windows) over at least 200 ms; a time is the fastest round's, and of")
    add("the two runs the faster one's; the ratio in turns is the median of the rounds' ratios, averaged over")
    add("the two runs. The classification is that of a synthetic build log of")
    add(f"{int(builds['linux'].get('Classify/lines', 0))} lines (32 MB).")
    add("")
    add(f"- `{builds_commands[0]}` (in `{BUILD.name}/`), `{builds_commands[1]}` (in `{BUILD_I686.name}/`,")
    add(f"  configured with `-DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release`)")
    add("")
    lin, win = builds["linux"], builds["i686"]
    add("| comparison | Linux | i686 under Wine | i686 time / Linux time |")
    add("|---|---:|---:|---:|")
    add(f"| classification / memchr line split, in turns (lines per second) | {fmt(lin.get('Classify/InTurns'))} | "
        f"{fmt(win.get('Classify/InTurns'))} | |")
    for name, label in (("Classify/Classify", "classification of the log"), ("Classify/Split", "memchr line split of the log")):
        ratio = win[name] / lin[name] if lin.get(name) and win.get(name) else None
        add(f"| {label} | | | {fmt(ratio)} |")
    add("")
    changes = [n for n in lin if n.startswith("Change/")]
    fastest = {b: min(builds[b][n] for n in changes) for b in builds} if changes else {}
    add("A whole change per example project (the calls listed above), divided by the fastest change of the")
    add("same build's run, and the i686 build's time divided by the Linux build's. A change reads `TC.ini`")
    add("(`CanUpgradeToolchain`, `UpgradePhaseOrder`): the Windows build through the system's")
    add("`GetPrivateProfileStringA`, here Wine's, the Linux build with the POSIX layer's own reader.")
    add("")
    add("| project folder | versions | Linux / fastest change | i686 / fastest change | i686 time / Linux time |")
    add("|---|---|---:|---:|---:|")
    for name in changes:
        _, family, versions = name.split("/", 2)
        add(f"| `{family}` | {versions.replace('-', ' to ')} | {fmt(lin[name] / fastest['linux'])} | "
            f"{fmt(win[name] / fastest['i686'])} | {fmt(win[name] / lin[name])} |")
    add("")
    classify_json = out / "classify.json"
    lines += classify_throughput.section(json.loads(classify_json.read_text()) if FROM_JSON else
                                         classify_throughput.measure(BUILD, classify_json))

    # The host program's growth figures come from scripts/host-scaling.py and are kept as they stand.
    old = REPORT.read_text() if REPORT.exists() else ""
    begin, end = "<!-- host-scaling: begin -->", "<!-- host-scaling: end -->"
    if begin in old and end in old:
        lines += ["", old[old.index(begin):old.index(end) + len(end)], ""]
    REPORT.write_text("\n".join(lines))
    print(f"wrote {REPORT}")
    if failures:
        print("time per byte grows more than " f"{GROWTH_LIMIT:g}x: {', '.join(failures)}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
