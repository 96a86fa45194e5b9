// vivo editor: compile_commands.json, .clangd and .vscode/c_cpp_properties.json for a KZ project, made
// from the include folders and defines the plug-in answers for its compiler and assembler phases, as
// the IDE asks them for its own code parser.
#include <sys/stat.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editor_files.h"
#include "files.h"
#include "host.h"
#include "json_text.h"
#include "project_file.h"

namespace vivo::host {
namespace {

constexpr const char* kCompiler = "Veltora KZ C/C++ Compiler";
constexpr const char* kAssembler = "Veltora KZ Assembler";
constexpr bool kWindowsPaths = fs::path::preferred_separator == '\\';

// Which sources get an entry: the plug-in's file types, the phase that builds them, clang's language.
struct SourceKind {
    std::string_view fileType;
    const char* tool;
    const char* language;
    std::string_view extraExtension;  // one more extension the toolchain's users write
};
constexpr std::array<SourceKind, 3> kSourceKinds = {{
    {"C source file", kCompiler, "c", ""},
    {"C++ source file", kCompiler, "c++", ""},
    {"Assembly source file", kAssembler, "assembler-with-cpp", "ASM"},
}};

struct EditorArguments {
    std::string project, sources, out;
    std::vector<std::string> defineVars;
};

void Warn(const std::string& what) { std::fprintf(stderr, "vivo: warning: %s\n", what.c_str()); }

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string Printable(const std::string& text) { return IsUtf8(text) ? text : Latin1ToUtf8(text); }

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "$(" : ", $(") + name + ")";
    return text;
}

// Extension (upper case, no dot) -> source kind, from the file types the plug-in lists.
std::map<std::string, const SourceKind*> SourceExtensions(LoadedPlugin& plugin) {
    const auto bytes =
        CallWithBuffer([&](char* b, int32_t* l) { return VIVO_EXPORT(plugin, GetSupportedFileExtensions)(b, l); });
    if (!bytes) throw Failure("the plug-in does not give its file types");
    std::map<std::string, const SourceKind*> extensions;
    for (const SourceKind& kind : kSourceKinds) {
        if (!kind.extraExtension.empty()) extensions[std::string(kind.extraExtension)] = &kind;
        for (const std::string& line : SplitNulList(*bytes)) {
            // "C++ source file|TEXT|CPP|CC|CP"
            if (line.compare(0, kind.fileType.size() + 1, std::string(kind.fileType) + "|") != 0) continue;
            std::size_t start = line.find('|', line.find('|') + 1);
            while (start != std::string::npos) {
                const std::size_t end = line.find('|', start + 1);
                extensions[Upper(line.substr(start + 1, end - start - 1))] = &kind;
                start = end;
            }
        }
    }
    return extensions;
}

// The include folders and defines the plug-in answers for one phase, as this machine's paths.
// Entries that cannot be given to clangd are left out with a warning; `leftOut` counts them.
PhaseFlags AskPhaseFlags(LoadedPlugin& plugin, const Project& project, const char* tool,
                         const std::map<std::string, std::string>& values, const fs::path& folder, int& leftOut) {
    PhaseFlags flags;
    const PhaseOptions* block = project.BlockOf(tool);
    if (block == nullptr) return flags;
    auto ask = [&](auto exportFn, const char* what) {
        auto bytes = CallWithBuffer([&](char* b, int32_t* l) { return exportFn(tool, block->options().data(), b, l); });
        if (!bytes) throw Failure(std::string("the plug-in gives no ") + what + " for " + tool);
        return SplitNulList(*bytes);
    };
    auto keep = [&](const std::string& entry, const Substitution& local, const char* what,
                    std::vector<std::string>& into) {
        if (!local.unknown.empty()) {
            Warn(std::string(tool) + ": " + what + " \"" + Printable(entry) + "\" left out: " + Joined(local.unknown) +
                 " not known (give --define-var NAME=VALUE)");
        } else if (!IsUtf8(local.text)) {
            Warn(std::string(tool) + ": " + what + " \"" + Printable(entry) +
                 "\" left out: it is not UTF-8, which editors' files must be");
        } else if (&into == &flags.defines && !IsDefineClangTakes(local.text)) {
            Warn(std::string(tool) + ": define \"" + local.text + "\" left out: its name is not an identifier");
        } else {
            if (std::find(into.begin(), into.end(), local.text) == into.end()) into.push_back(local.text);
            return;
        }
        ++leftOut;
    };
    for (const std::string& entry : ask(VIVO_EXPORT(plugin, GetIncludeFileDirectories), "include folders")) {
        const Substitution local = LocalFolder(entry, values, folder, kWindowsPaths);
        keep(entry, local, "include folder", flags.includeFolders);
    }
    for (const std::string& entry : ask(VIVO_EXPORT(plugin, GetDefines), "defines"))
        keep(entry, LocalDefine(entry, values), "define", flags.defines);
    return flags;
}

// The C, C++ and assembly sources below `root`, in path order; hidden folders (.git, .vscode) skipped.
std::vector<SourceEntry> FindSources(const fs::path& root, const std::map<std::string, const SourceKind*>& extensions,
                                     const PhaseFlags& compiler, const PhaseFlags& assembler, int& leftOut) {
    std::vector<SourceEntry> sources;
    std::error_code error;
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        const fs::path& path = it->path();
        const std::string name = path.filename().string();
        if (name.size() > 1 && name[0] == '.') {
            if (it->is_directory(error)) it.disable_recursion_pending();
            continue;
        }
        if (!it->is_regular_file(error) || path.extension().empty()) continue;
        const auto kind = extensions.find(Upper(path.extension().string().substr(1)));
        if (kind == extensions.end()) continue;
        if (!IsUtf8(path.string())) {
            Warn("source " + Printable(path.string()) + " left out: its name is not UTF-8");
            ++leftOut;
            continue;
        }
        const PhaseFlags* flags = kind->second->tool == kCompiler ? &compiler : &assembler;
        sources.push_back({path.string(), kind->second->language, flags});
    }
    if (error) throw Failure("cannot read the sources below " + root.string() + ": " + error.message());
    std::sort(sources.begin(), sources.end(),
              [](const SourceEntry& a, const SourceEntry& b) { return a.file < b.file; });
    return sources;
}

std::map<std::string, std::string> PlaceholderValues(const fs::path& projectFolder,
                                                     const std::vector<std::string>& defineVars) {
    std::map<std::string, std::string> values{{"PROJDIR", projectFolder.string()}};
    for (const std::string& assignment : defineVars) {
        const std::size_t equals = assignment.find('=');
        if (equals == 0 || equals == std::string::npos || assignment.find_first_of("()$") < equals)
            throw Failure("--define-var takes NAME=VALUE, as in CONFIGDIR=/home/me/build (got \"" + assignment + "\")");
        values[assignment.substr(0, equals)] = assignment.substr(equals + 1);
    }
    return values;
}

fs::path ExistingFolder(const std::string& given, const fs::path& fallback, const char* what) {
    const fs::path folder = given.empty() ? fallback : fs::absolute(given).lexically_normal();
    std::error_code error;
    if (!fs::is_directory(folder, error)) throw Failure(std::string(what) + " " + folder.string() + " is not a folder");
    return folder;
}

// Whether clangd, searching from a source below `sources`, finds compile_commands.json in `out`.
bool FindsDatabase(const fs::path& sources, const fs::path& out) {
    auto within = [&](const fs::path& folder) {
        const std::string relative = sources.lexically_relative(folder).string();
        return !relative.empty() && relative.compare(0, 2, "..") != 0;
    };
    return within(out) || (out.filename() == "build" && within(out.parent_path()));
}

// One file to write: its new text and what was there before.
struct Output {
    fs::path target;
    std::string text;
    std::optional<std::string> before;
};

int RunEditor(LoadedPlugin& plugin, const EditorArguments& args) {
    const fs::path projectFile = fs::absolute(args.project).lexically_normal();
    const Project project = ParseProject(ReadWholeFile(projectFile, "project file"), args.project);
    if (project.toolchain != kKzToolchain)
        throw Failure(args.project + ": the project's toolchain is " + project.toolchain +
                      "; the plug-in answers for " + kKzToolchain + " projects (vivo change moves it there)");
    const fs::path projectFolder = projectFile.parent_path();
    if (!IsUtf8(projectFolder.string()))
        throw Failure("the project's folder " + Printable(projectFolder.string()) +
                      " is not UTF-8, which editors' files must be");
    const std::map<std::string, std::string> values = PlaceholderValues(projectFolder, args.defineVars);
    const fs::path sourceFolder = ExistingFolder(args.sources, projectFolder, "--sources");
    const fs::path outFolder = ExistingFolder(args.out, sourceFolder, "--out");

    // Every output is checked before the plug-in is asked anything.
    const fs::path vscode = outFolder / ".vscode";
    std::vector<Output> outputs{{outFolder / "compile_commands.json", {}, {}},
                                {outFolder / ".clangd", {}, {}},
                                {vscode / "c_cpp_properties.json", {}, {}}};
    struct stat vscodeInfo {};
    const bool vscodeThere = ::lstat(vscode.c_str(), &vscodeInfo) == 0;
    if (vscodeThere && !S_ISDIR(vscodeInfo.st_mode))
        throw Failure("cannot write " + vscode.string() + ": not a folder");
    CheckOutputPath(vscodeThere ? outputs[2].target : vscode, true, "editor file");
    for (std::size_t i = 0; i < 2; ++i) CheckOutputPath(outputs[i].target, true, "editor file");

    if (!FindsDatabase(sourceFolder, outFolder))
        Warn("clangd looks for compile_commands.json in the folders that hold a source and in their build/ "
             "folders; " + outFolder.string() + " is none of them for the sources below " + sourceFolder.string());
    int leftOut = 0;
    if (!project.OptionsOf(kCompiler)) Warn(args.project + ": the project has no options for " + kCompiler);
    const PhaseFlags compiler = AskPhaseFlags(plugin, project, kCompiler, values, projectFolder, leftOut);
    const PhaseFlags assembler = AskPhaseFlags(plugin, project, kAssembler, values, projectFolder, leftOut);
    std::vector<std::string> missing;  // once each, whichever phase names them
    for (const PhaseFlags* flags : {&compiler, &assembler})
        for (const std::string& folder : flags->includeFolders) {
            std::error_code error;
            if (!fs::is_directory(folder, error) &&
                std::find(missing.begin(), missing.end(), folder) == missing.end()) {
                Warn("include folder " + folder + " does not exist here");
                missing.push_back(folder);
            }
        }
    const std::vector<SourceEntry> sources =
        FindSources(sourceFolder, SourceExtensions(plugin), compiler, assembler, leftOut);
    if (sources.empty()) Warn("no C, C++ or assembly sources below " + sourceFolder.string());

    outputs[0].text = CompileCommandsText(projectFolder.string(), sources);
    outputs[1].text = ClangdText(project.name, compiler);
    outputs[2].text = CppPropertiesText(project.name, compiler);
    for (Output& output : outputs) {
        std::error_code error;
        if (fs::is_regular_file(output.target, error)) output.before = ReadWholeFile(output.target, "editor file");
    }

    int folderSlot = -1;
    if (!vscodeThere) {
        if (::mkdir(vscode.c_str(), 0777) != 0)
            throw Failure("cannot create " + vscode.string() + ": " + std::strerror(errno));
        folderSlot = RegisterTemporary(vscode.string(), true);  // Ctrl+C before the commit removes it again
    }
    try {
        std::vector<std::unique_ptr<AtomicFile>> files(outputs.size());
        for (std::size_t i = 0; i < outputs.size(); ++i) {
            if (outputs[i].before == outputs[i].text) continue;
            files[i] = std::make_unique<AtomicFile>(outputs[i].target);
            files[i]->Write(outputs[i].text);
        }
        CommitAll({files[0].get(), files[1].get(), files[2].get()});
    } catch (...) {
        if (folderSlot >= 0) ::rmdir(vscode.c_str());  // only when empty: nothing of ours was committed there
        ReleaseTemporary(folderSlot);
        throw;
    }
    ReleaseTemporary(folderSlot);

    for (const Output& output : outputs) {
        const char* status = !output.before ? "created" : *output.before == output.text ? "unchanged" : "changed";
        OutF("%-9s %s\n", status, output.target.c_str());
    }
    OutF("%zu source%s, %zu include folder%s, %zu define%s for the compiler\n", sources.size(),
         sources.size() == 1 ? "" : "s", compiler.includeFolders.size(), compiler.includeFolders.size() == 1 ? "" : "s",
         compiler.defines.size(), compiler.defines.size() == 1 ? "" : "s");
    if (leftOut == 0) return kExitOk;
    std::fprintf(stderr, "vivo: %d entr%s left out (see the warnings above)\n", leftOut, leftOut == 1 ? "y" : "ies");
    return kExitProblems;
}

}  // namespace

void AddEditorCommand(CLI::App& app, Host& host) {
    CLI::App* command =
        app.add_subcommand("editor",
                           "compile_commands.json, .clangd and .vscode/c_cpp_properties.json from a KZ project's "
                           "include folders and defines, as the plug-in gives them");
    auto args = std::make_shared<EditorArguments>();
    command->add_option("project", args->project, "the project file")->required()->type_name("PROJECT");
    command->add_option("--sources", args->sources, "the folder whose sources get entries (default: the project's)")
        ->type_name("DIR");
    command->add_option("--out", args->out, "where the files go (default: the sources folder)")->type_name("DIR");
    command
        ->add_option("--define-var", args->defineVars,
                     "the value of an IDE placeholder such as $(CONFIGDIR) or $(TCINSTALL); $(PROJDIR) is the "
                     "project's folder; repeat for each placeholder")
        ->type_name("NAME=VALUE")
        ->expected(1)
        ->take_all();
    command->callback([&host, args] { host.run = [&host, args] { return RunEditor(host.Plugin(), *args); }; });
}

}  // namespace vivo::host
