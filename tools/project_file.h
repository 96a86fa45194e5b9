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

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace vivo::host {

// Where a text goes, piece by piece (project files, reports: option strings can be very large).
using TextSink = std::function<void(std::string_view)>;

// One option block. The option string is kept inside the line that the plug-in's phase options list
// holds for it, "tool|options", followed by that line's NUL and the list's closing NUL: a phase made
// from this block alone is passed to the plug-in without a copy (option strings can be very large).
class PhaseOptions {
public:
    PhaseOptions(std::string tool, std::string_view options);

    const std::string& tool() const { return tool_; }
    // The option string, raw; a NUL follows it, so options().data() is a C string.
    std::string_view options() const {
        return std::string_view(line_).substr(tool_.size() + 1, line_.size() - tool_.size() - 3);
    }
    // "tool|options" NUL NUL: the phase options list of this block alone.
    const char* optionList() const { return line_.c_str(); }

    // A list of several blocks that begins with this one is made of this block's line, moved out
    // without the list's closing NUL, and the others appended; GiveBack takes the list and keeps this
    // block's line again. In between the block is empty.
    std::string LendLine();
    void GiveBack(std::string list);

    // Where the option string stands in the file's text (blank lines around it not counted), so that
    // an edit replaces it and leaves every other byte of the file as it was.
    std::size_t begin = 0;
    std::size_t end = 0;

private:
    std::string tool_;
    std::string line_;
    std::size_t lent_ = 0;  // the length of the line lent out
};

struct Project {
    std::string name;
    std::string toolchain;
    std::string version;
    std::vector<std::string> phases;    // phase order lines: tool name|second field|state
    std::vector<PhaseOptions> options;  // in file order, one block per tool
    std::vector<std::string> mappings;  // producing tool|file type|consuming tool

    // The option block of `tool`, or null when the project has none.
    const PhaseOptions* BlockOf(std::string_view tool) const;
    PhaseOptions* BlockOf(std::string_view tool);
    // The option string of `tool`, or nothing when the project has none.
    std::optional<std::string_view> OptionsOf(std::string_view tool) const;
};

// A project file that cannot be read: where and what.
struct ProjectFileError : std::runtime_error {
    ProjectFileError(const std::string& file, int line, const std::string& what);
};

// Reads a project file's text; `file` names it in errors.
Project ParseProject(std::string_view text, const std::string& file);

// The text of a project file for `project`, handed to `write` in pieces.
void FormatProject(const Project& project, const TextSink& write);

// A project file's text around one option block: what an edit of that block leaves as it was.
struct TextAroundOptions {
    std::string before;
    std::string after;
    bool crlf = false;          // the file's line ends are CR LF
    bool emptyBlock = false;    // the block holds no text yet
    bool lastLineOpen = false;  // the block stands behind a last line without a line end

    TextAroundOptions(std::string_view text, const PhaseOptions& block);
    // The file with `options` in the block's place, handed to `write` in pieces: comments, blank lines
    // and the file's line ends (LF or CR LF) stay as they were.
    void Write(std::string_view options, const TextSink& write) const;
};

}  // namespace vivo::host
