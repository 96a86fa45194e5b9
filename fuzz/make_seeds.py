#!/usr/bin/env python3
"""Writes the seed corpora fuzz/corpus/<target>/ from the example projects, the shipped INI files and
the build output lines of the tests. Input layout: see fuzz/fuzz_support.h."""
import hashlib
import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parent.parent
CORPUS = ROOT / "fuzz" / "corpus"
SEP = b"\x01"


def seed(selector, capacity, *fields):
    return bytes([selector & 0xFF, capacity & 0xFF, (capacity >> 8) & 0xFF]) + SEP.join(
        f if isinstance(f, bytes) else f.encode("latin-1") for f in fields)


def nul_list(lines):
    return b"".join(line.encode("latin-1") + b"\0" for line in lines)


def read_project(path):
    """Name, toolchain, version, phases, {tool: options}, mappings of a project file."""
    project = {"phases": [], "options": {}, "mappings": []}
    section, tool = None, None
    for line in path.read_text(encoding="latin-1").splitlines():
        if line.startswith("@"):
            word, _, rest = line[1:].partition(" ")
            section, tool = word, rest
            if word in ("project", "toolchain", "version"):
                project[word] = rest
            elif word == "options":
                project["options"][tool] = ""
            continue
        if section == "options" and line.strip():
            text = project["options"][tool]
            project["options"][tool] = (text + "\n" + line) if text else line
        elif section in ("phases", "mappings") and line.strip() and not line.startswith("#"):
            project[section].append(line)
    return project


def write(target, seeds):
    folder = CORPUS / target
    folder.mkdir(parents=True, exist_ok=True)
    # Inputs that once failed a check (regression-*) stay; the generated seeds are made afresh.
    for old in folder.iterdir():
        if not old.name.startswith("regression-"):
            old.unlink()
    for data in seeds:
        (folder / hashlib.sha1(data).hexdigest()).write_bytes(data)


projects = [read_project(p) for p in sorted((ROOT / "examples").glob("*/**/*.vivo"))]
target_toolchain = "Veltora KZ Standard Toolchain"

# Option strings and the exports that read them.
option_seeds = []
for project in projects:
    for tool, options in project["options"].items():
        selector = len(option_seeds) % 20
        option_seeds.append(seed(selector, 64 if selector % 2 else 0, tool, options,
                                 nul_list(['"$(PROJDIR)\\inc"', "C:\\My Headers", "A=1", "B"]),
                                 "1", project["toolchain"], project["version"]))
option_seeds.append(seed(12, 80, "Veltora Bindex", "[S|START|P,C:D(00000400)|B{x},R(0FFF00000)]", b"", "2",
                         target_toolchain, "1.01.00"))
option_seeds.append(seed(13, 200, "Veltora KZ C/C++ Compiler",
                         "[S|OUTPUT|SRC] [S|ASSEMBLY|\"[B|DEBUG|1]] [S|X|\"\"a b\"\"]]\"] [S|CPU|KZ600] [S|INCLUDE|\"inc\"]",
                         "Veltora KZ Assembler", "0", target_toolchain, "1.02.01"))
option_seeds.append(seed(9, 100, "", "[S|INPUTLIBRARY|\"a.lib\"]", "Library=\"a.lib\",\"b.lib\"", "0", "", ""))
write("option_exports", option_seeds)

# Whole toolchain changes: every example project to every KZ version it may go to.
change_seeds = []
for project in projects:
    states = [line.split("|")[0] + "|" + line.split("|")[-1] for line in project["phases"]]
    for to_version in ("1.01.00", "1.02.01"):
        for tool in list(project["options"])[:1]:
            option_list = [t + "|" + o for t, o in project["options"].items()]
            change_seeds.append(seed(0, 4096, project["toolchain"], project["version"], target_toolchain,
                                     to_version, nul_list(project["phases"]), nul_list(states),
                                     nul_list(states), tool, nul_list(option_list),
                                     nul_list(project["mappings"])))
write("toolchain_change", change_seeds)

# Build output lines of the tests' tables.
lines = set()
test = (ROOT / "tests" / "queries" / "build_output_test.cpp").read_text(encoding="latin-1")
for match in re.finditer(r'\{"[^"]*", "((?:[^"\\]|\\.)*)"', test):
    lines.add(match.group(1).encode("latin-1").decode("unicode_escape"))
write("build_output", [seed(0, capacity, line) for line in sorted(lines) for capacity in (300,)])

# INI files: the shipped ones and their sections and keys.
ini_seeds = []
tc = (ROOT / "src" / "resources" / "shipped" / "TC.ini").read_text(encoding="latin-1")
colours = (ROOT / "src" / "resources" / "shipped" / "SyntaxColouring.ini").read_text(encoding="latin-1")
for section, key in (("GetTemplates", "1"), ("Upgrade definition", "11"), ("Same version definition", "6")):
    ini_seeds.append(seed(0, 0, tc, section, key))
ini_seeds.append(seed(1, 400, tc, "GetTemplates", "2", "", "Veltora Pexa Standard Toolchain", "5.45.00",
                      target_toolchain, "1.01.00"))
ini_seeds.append(seed(1, 400, tc.replace("\n", "\r\n"), "getTEMPLATES", "4", "", target_toolchain, "1.00.00",
                      target_toolchain, "1.02.01"))
for name in ("C source file", "C++ header file", "Assembly source file"):
    ini_seeds.append(seed(2, 2048, colours, "Syntax Colouring Information", "FileGroup0", name))
ini_seeds.append(seed(0, 0, '[a]\nk = "v" \n;c\n[A]\nK=w\n', "A", "k"))
write("ini_files", ini_seeds)

# Memory areas: stored placements read back, and areas written.
area_seeds = [
    seed(1, 200, "[S|START|P,C:D(00000400)|B{x},R(0FFF00000)] [S|CPU|KZ600]",
         b"0x400\0\0" + b"\x02" + nul_list(["P", "C"]) + b"\x02" + nul_list(["D"]),
         b"0xFFF00000\0\0" + b"\x02" + nul_list(["B(x)", "R"])),
    seed(2, 0, "[S|START|P(0100)]", b"0x0100\0\0\x02P\0\0"),
    seed(255, 16, "[B|DEBUG|1]", b"0x1\0\0\x02P\0\0"),
]
write("memory_areas", area_seeds)
