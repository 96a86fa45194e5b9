#!/usr/bin/env python3
"""vivo editor checked by its consumers: clangd and the C/C++ extension's schema.

Each KZ project is laid out in a scratch folder the way its compiler settings describe it (as `vivo
options` reads them): a header in every include folder the project names
under $(PROJDIR) or another placeholder, and sources that include every header and #error unless every
define is set (with its value, when it is a number). Then `vivo editor` writes the editor files and
`clangd --check` must find no error in any source, with its command taken from compile_commands.json,
nor in a source checked with .clangd alone;
.vscode/c_cpp_properties.json must pass the vendored schema and hold the same folders and defines; a
second run must change nothing.

Usage: check_clangd.py VIVO PLUGIN SOURCE_ROOT WORK_DIR
"""
import glob
import json
import os
import re
import shutil
import subprocess
import sys

import jsonschema


def settings(vivo, plugin, project_file, tool):
    """Include folders and defines of `tool` as `vivo options` reads them (checked against the plug-in's
    exports by the options tests); none when the project has no options for it."""
    found = []
    for setting, key in (("includes", "includeDirectories"), ("defines", "defines")):
        answer = run([vivo, "--plugin", plugin, "options", setting, "--project", project_file, "--tool", tool, "--json"])
        found.append(json.loads(answer.stdout)[key] if answer.returncode == 0 else [])
    return found


def checks(defines):
    lines = []
    for define in defines:
        name, _, value = define.partition("=")
        lines += ["#ifndef " + name, '#error "' + name + ' is not defined"', "#endif"]
        if re.fullmatch(r"-?(0[xX][0-9a-fA-F]+|[0-9]+)", value):
            lines += ["#if " + name + " != " + value, '#error "' + name + ' is not ' + value + '"', "#endif"]
    return lines


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, **kwargs)


def check_project(vivo, plugin, project_file, work, schema):
    """Lays the project out, runs vivo editor and the consumers; returns a list of failures."""
    name = os.path.splitext(os.path.basename(project_file))[0]
    folder = os.path.join(work, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(os.path.join(folder, "src"))
    shutil.copy(project_file, folder)
    includes, defines = settings(vivo, plugin, project_file, "compiler")
    _, asm_defines = settings(vivo, plugin, project_file, "assembler")
    variables, headers = {"PROJDIR": folder}, []
    for index, entry in enumerate(includes):
        if re.match(r"[A-Za-z]:", entry):
            continue  # a folder of the machine the IDE runs on: cannot be laid out here
        for placeholder in re.findall(r"\$\((\w+)\)", entry):
            variables.setdefault(placeholder, os.path.join(folder, "variables", placeholder))
        path = re.sub(r"\$\((\w+)\)", lambda m: variables[m.group(1)], entry).replace("\\", "/")
        path = os.path.join(folder, path)
        os.makedirs(path, exist_ok=True)
        header = "vivo_check_%d.h" % index
        with open(os.path.join(path, header), "w") as f:
            f.write("#define VIVO_CHECK_%d 1\n" % index)
        headers.append(header)
    body = ['#include "%s"' % h for h in headers] + checks(defines)
    sources = {"main.c": body + ["int main(void) { return 0; }"],
               "driver.cpp": body + ["namespace kz { constexpr int checked = 1; }"],
               "checks.h": ["#pragma once"] + checks(defines)}
    for source, lines in sources.items():
        with open(os.path.join(folder, "src", source), "w") as f:
            f.write("\n".join(lines) + "\n")
    with open(os.path.join(folder, "src", "start.s"), "w") as f:
        f.write("    .text\n")

    failures = []
    command = [vivo, "--plugin", plugin, "editor", os.path.join(folder, os.path.basename(project_file))]
    for variable, value in variables.items():
        if variable != "PROJDIR":
            command += ["--define-var", variable + "=" + value]
    first = run(command)
    if first.returncode != 0:
        return ["vivo editor exit %d: %s" % (first.returncode, first.stderr.strip())]
    database = json.load(open(os.path.join(folder, "compile_commands.json")))
    entries = {os.path.basename(e["file"]): e["arguments"] for e in database}
    if sorted(entries) != ["driver.cpp", "main.c", "start.s"]:
        failures.append("compile_commands.json entries: %s" % sorted(entries))
    elif ["-D" + d for d in asm_defines] != [a for a in entries["start.s"] if a.startswith("-D")]:
        failures.append("start.s has not the assembler's defines %s: %s" % (asm_defines, entries["start.s"]))

    errors = 0
    for source in sources:
        check = run(["clangd", "--check=" + os.path.join(folder, "src", source)], cwd=folder)
        log = check.stderr
        found = [line for line in log.splitlines() if line.startswith("E[")]
        errors += len(found)
        if check.returncode != 0 or found:
            failures.append("clangd --check %s: exit %d\n    %s" % (source, check.returncode, "\n    ".join(found)))
        if source != "checks.h" and "Compile command from CDB is" not in log:
            failures.append("clangd did not take the command of %s from compile_commands.json" % source)

    # .clangd alone (compile_commands.json put aside) must give a file without an entry the same flags.
    database_file = os.path.join(folder, "compile_commands.json")
    os.rename(database_file, database_file + ".aside")
    alone = run(["clangd", "--check=" + os.path.join(folder, "src", "main.c")], cwd=folder)
    os.rename(database_file + ".aside", database_file)
    found = [line for line in alone.stderr.splitlines() if line.startswith("E[")]
    errors += len(found)
    if alone.returncode != 0 or found or "Generic fallback command" not in alone.stderr:
        failures.append("clangd --check main.c with .clangd alone: exit %d\n    %s" % (alone.returncode, "\n    ".join(found)))

    properties = json.load(open(os.path.join(folder, ".vscode", "c_cpp_properties.json")))
    try:
        jsonschema.validate(properties, schema)
    except jsonschema.ValidationError as error:
        failures.append("c_cpp_properties.json against the schema: %s" % error.message)
    configuration = properties["configurations"][0]
    if configuration["defines"] != defines or len(configuration["includePath"]) != len(includes):
        failures.append("c_cpp_properties.json: %s" % configuration)

    second = run(command)
    if second.returncode != 0 or second.stdout.count("unchanged") != 3:
        failures.append("a second run changed files: %s" % second.stdout)
    print("%-34s %d include folders (%d laid out), %d defines, %d files + 1 by .clangd alone: clangd errors %d" % (
        name, len(includes), len(headers), len(defines), len(sources), errors))
    return failures


def main():
    vivo, plugin, root, work = sys.argv[1:5]
    schema = json.load(open(os.path.join(root, "tests", "editors", "c_cpp_properties.schema.json")))
    projects = sorted(glob.glob(os.path.join(root, "examples", "kz", "*.vivo")))
    projects += sorted(glob.glob(os.path.join(root, "tests", "e2e", "families", "*", "*.kz-*.vivo")))
    failed = 0
    for project in projects:
        for failure in check_project(vivo, plugin, project, work, schema):
            print("  FAILED: " + failure)
            failed += 1
    print("%d projects checked, %d failures" % (len(projects), failed))
    return 1 if failed or not projects else 0


if __name__ == "__main__":
    sys.exit(main())
