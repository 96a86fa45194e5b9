#pragma once
// The project file of the vivo host: a project's toolchain, phases, option strings and mappings in
// a text a person can edit. Option strings stand in it raw, exactly as the IDE keeps them.
//
//   # a comment (outside option blocks)
//   @project Blinky
//   @toolchain Veltora KZ Standard Toolchain
//   @version 1.00.00
//   @phases
//   Veltora KZ C/C++ Compiler|SYSTEM|1
//   @options Veltora KZ C/C++ Compiler
//   [V|VERSION|1] [S|CPU|KZ600]
//   @mappings
//   Veltora KZ C/C++ Compiler|Object file|Veltora Bindex

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vivo::host {

struct PhaseOptions {
    std::string tool;     // the phase's tool name
    std::string options;  // its option string, raw
    // Where the option string stands in the file's text (blank lines around it not counted), so that
    // an edit replaces it and leaves every other byte of the file as it was.
    std::size_t begin = 0;
    std::size_t end = 0;
};

struct Project {
    std::string name;
    std::string toolchain;
    std::string version;
    std::vector<std::string> phases;    // phase order lines: tool name|second field|state
    std::vector<PhaseOptions> options;  // in file order, one block per tool
    std::vector<std::string> mappings;  // producing tool|file type|consuming tool

    // The option string of `tool`, or nothing when the project has none.
    const std::string* OptionsOf(std::string_view tool) const;
};

// A project file that cannot be read: where and what.
struct ProjectFileError : std::runtime_error {
    ProjectFileError(const std::string& file, int line, const std::string& what);
};

// Reads a project file's text; `file` names it in errors.
Project ParseProject(std::string_view text, const std::string& file);

// The text of a project file for `project`.
std::string FormatProject(const Project& project);

// The project file's `text` with the option string of `block` replaced by `options`: comments, blank
// lines and the file's line ends (LF or CR LF) stay as they were.
std::string ReplaceOptions(std::string_view text, const PhaseOptions& block, std::string_view options);

}  // namespace vivo::host
