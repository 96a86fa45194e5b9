#pragma once
// What other editors read about a KZ project, made from the plug-in's answers: the IDE's include
// folders and defines turned into flags and paths of this machine, and the files clangd and VS Code
// load. Pure functions; the command that asks the plug-in and writes the files is editor_command.cpp.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vivo::host {

// "$(PROJDIR)\inc" with PROJDIR known: the text with every known placeholder replaced. Placeholders
// that `values` lacks are listed in `unknown`, in order, once each.
struct Substitution {
    std::string text;
    std::vector<std::string> unknown;
};

// An include folder of the IDE as a folder of this machine: placeholders replaced by `values`, the
// rest read as a Windows path. On a POSIX machine (`windowsStyle` false) backslashes become slashes
// and a drive letter is dropped ("C:\x" -> "/x"); on Windows both stay. A relative folder is taken
// from `base` (the project's folder), as the IDE builds there.
Substitution LocalFolder(std::string_view entry, const std::map<std::string, std::string>& values,
                         const std::filesystem::path& base, bool windowsStyle);

// A define of the IDE with its placeholders replaced (nothing else of it is a path).
Substitution LocalDefine(std::string_view entry, const std::map<std::string, std::string>& values);

// Whether `define` (NAME, NAME=VALUE, NAME(ARGS)=VALUE) is one that clang's -D takes: the name an identifier.
bool IsDefineClangTakes(std::string_view define);

// The flags of one phase, ready for the files.
struct PhaseFlags {
    std::vector<std::string> includeFolders;
    std::vector<std::string> defines;

    std::vector<std::string> Flags() const;  // "-I<folder>" ..., "-D<define>" ...
};

// One translation unit of compile_commands.json.
struct SourceEntry {
    std::string file;      // absolute
    std::string language;  // clang's -x name: "c", "c++", "assembler-with-cpp"
    const PhaseFlags* flags;
};

std::string CompileCommandsText(const std::string& directory, const std::vector<SourceEntry>& sources);

// `.clangd`: the compiler phase's flags for the files compile_commands.json does not list.
std::string ClangdText(const std::string& projectName, const PhaseFlags& compiler);

// `.vscode/c_cpp_properties.json`: one configuration named after the project.
std::string CppPropertiesText(const std::string& projectName, const PhaseFlags& compiler);

}  // namespace vivo::host
