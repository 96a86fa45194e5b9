// vivo options: reads and rewrites single settings of an option string through the plug-in, as the
// IDE does when it shows or edits a tool's include directories, defines, libraries and section
// placement, or derives the assembler's options from the compiler's.
#include <CLI/CLI.hpp>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "files.h"
#include "host.h"
#include "json_text.h"
#include "project_file.h"

namespace vivo::host {
namespace {

constexpr const char* kCompiler = "Veltora KZ C/C++ Compiler";
constexpr const char* kAssembler = "Veltora KZ Assembler";
constexpr const char* kLinker = "Veltora Bindex";

// Short names a person may type for the toolchain's tools.
struct ToolAlias {
    std::string_view alias;
    const char* name;
};
constexpr std::array<ToolAlias, 3> kToolAliases = {{
    {"compiler", kCompiler},
    {"assembler", kAssembler},
    {"linker", kLinker},
}};

std::string ToolName(std::string_view typed) {
    for (const ToolAlias& a : kToolAliases)
        if (a.alias == typed) return a.name;
    return std::string(typed);
}

// The pieces of `text` between `separator`s; an empty text has none.
std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> pieces;
    if (text.empty()) return pieces;
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        pieces.push_back(text.substr(start, at - start));
        if (at == std::string::npos) return pieces;
        start = at + 1;
    }
}

// What the command line says about the option string and the action.
struct OptionsArguments {
    std::string options, optionsFile, project, tool, output, area, from, to;
    bool optionsGiven = false;  // --options, which may be empty text
    bool json = false, force = false;
    std::vector<std::string> values;  // the entries a set- action stores

    std::optional<std::string> Tool() const { return tool.empty() ? std::nullopt : std::optional(tool); }
};

// Where the option string comes from, and where a rewritten one goes.
class Source {
public:
    Source(const OptionsArguments& args, const std::string& tool) : tool_(tool), json_(args.json) {
        if (!args.output.empty()) output_ = fs::absolute(args.output);
        if (args.optionsGiven) {
            options_ = args.options;
        } else if (!args.optionsFile.empty()) {
            options_ = ReadWholeFile(args.optionsFile, "option file");
        } else if (!args.project.empty()) {
            projectFile_ = args.project;
            // Only the option string and the text around it are kept: the rest of the file is written
            // back as it was.
            const std::string text = ReadWholeFile(projectFile_, "project file");
            const Project project = ParseProject(text, projectFile_);
            const PhaseOptions* block = project.BlockOf(tool_);
            if (block == nullptr) throw Failure(projectFile_ + ": the project has no options for " + tool_);
            options_ = block->options();
            around_.emplace(text, *block);
        } else {
            throw Failure("give the option string with one of --options TEXT, --options-file FILE, --project FILE");
        }
        // Refuse an unusable output before the plug-in is asked anything. The input file itself is
        // rewritten in place: that is what naming it asks for.
        if (output_ && !IsInput(*output_)) CheckOutputPath(*output_, args.force, "output file");
    }

    const std::string& options() const { return options_; }
    const std::string& tool() const { return tool_; }

    // Prints the rewritten option string, or writes it (the project file with it) to --output.
    void Put(const std::string& rewritten) {
        if (!output_) {
            if (json_)
                Out(DumpJson({{"tool", tool_}, {"options", rewritten}}, -1));
            else
                Out(rewritten + "\n");
            return;
        }
        if (IsInput(*output_)) CheckOutputPath(*output_, true, "output file");
        AtomicFile file(*output_);
        if (around_)
            around_->Write(rewritten, [&](std::string_view piece) { file.Write(piece); });
        else
            file.Write(rewritten);
        CommitAll({&file});
        if (json_)
            Out(DumpJson({{"tool", tool_}, {"written", output_->string()}}, -1));
        else
            Out("written " + output_->string() + "\n");
    }

private:
    bool IsInput(const fs::path& output) const {
        const std::string& input = !projectFile_.empty() ? projectFile_ : std::string();
        if (input.empty()) return false;
        std::error_code error;
        return fs::equivalent(output, input, error);
    }

    std::string tool_;
    bool json_;
    std::string options_;
    std::string projectFile_;
    std::optional<TextAroundOptions> around_;  // of the option block in the project file
    std::optional<fs::path> output_;
};

// An option string the plug-in cannot read is refused before anything is asked. The phase option
// conversion is the export that tells: for a readable string it answers 0, -2 or 1 for a too small
// buffer (length above 1), for an unreadable one 1 with the length set to 0.
void RequireReadable(LoadedPlugin& plugin, const std::string& options) {
    const VivoToolchainRecord toolchain{12, kKzToolchain, ""};
    char buffer[1];
    int32_t len = 1;
    const int32_t rc =
        VIVO_EXPORT(plugin, ConvertPhaseOptions)(&toolchain, kCompiler, kAssembler, options.c_str(), buffer, &len);
    if (rc == 1 && len == 0) throw Failure("the option string does not parse (every item must be [TYPE|NAME|VALUE...])");
}

void PrintList(const char* heading, const std::string& tool, const std::vector<std::string>& entries,
               const char* jsonKey, bool json) {
    if (json) {
        Out(DumpJson({{"tool", tool}, {jsonKey, entries}}, -1));
        return;
    }
    OutF("%s of %s (%zu)\n", heading, tool.c_str(), entries.size());
    for (const std::string& e : entries) OutF("  %s\n", e.c_str());
}

// Include directories or defines: list, or set from the remaining arguments.
int IncludesOrDefines(LoadedPlugin& plugin, const OptionsArguments& args, bool includes, bool set) {
    const std::string tool = ToolName(args.Tool().value_or(kCompiler));
    Source source(args, tool);
    RequireReadable(plugin, source.options());
    const bool json = args.json;
    const char* what = includes ? "include directories" : "defines";
    const std::string refused = "the plug-in keeps no " + std::string(what) + " for the tool \"" + tool +
                                "\" (only compiler and assembler tools have them)";
    if (!set) {
        auto get = includes ? VIVO_EXPORT(plugin, GetIncludeFileDirectories) : VIVO_EXPORT(plugin, GetDefines);
        auto bytes = CallWithBuffer([&](char* b, int32_t* l) { return get(tool.c_str(), source.options().c_str(), b, l); });
        if (!bytes) throw Failure(refused);
        PrintList(includes ? "Include directories" : "Defines", tool, SplitNulList(*bytes),
                  includes ? "includeDirectories" : "defines", json);
        return 0;
    }
    const std::string list = NulList(args.values, includes ? "include directory" : "define");
    auto put = includes ? VIVO_EXPORT(plugin, SetIncludeFileDirectories) : VIVO_EXPORT(plugin, SetDefines);
    auto bytes = CallWithBuffer(
        [&](char* b, int32_t* l) { return put(tool.c_str(), source.options().c_str(), list.c_str(), b, l); });
    if (!bytes) throw Failure(refused);
    source.Put(WithoutTerminator(*bytes));
    return 0;
}

// "Library=\"a.lib\",\"b.lib\"" -> a.lib, b.lib
std::vector<std::string> LibraryNames(const std::string& text) {
    std::vector<std::string> names;
    const size_t equals = text.find('=');
    if (equals == std::string::npos) return names;
    for (std::string name : Split(text.substr(equals + 1), ',')) {
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
        names.push_back(name);
    }
    return names;
}

int Libraries(LoadedPlugin& plugin, const OptionsArguments& args, bool set) {
    Source source(args, ToolName(args.Tool().value_or(kLinker)));
    RequireReadable(plugin, source.options());
    const bool json = args.json;
    if (!set) {
        auto bytes = CallWithBuffer(
            [&](char* b, int32_t* l) { return VIVO_EXPORT(plugin, GetLibraryFiles)(source.options().c_str(), b, l); });
        if (!bytes) throw Failure("the plug-in does not give the library files");
        PrintList("Library files", source.tool(), LibraryNames(*bytes), "libraries", json);
        return 0;
    }
    std::string text = "Library=";
    const std::vector<std::string>& names = args.values;
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].find_first_of(",\"") != std::string::npos)
            throw Failure("a library file name cannot hold a comma or a double quote: " + names[i]);
        text += (i ? "," : "") + names[i];
    }
    auto bytes = CallWithBuffer([&](char* b, int32_t* l) {
        return VIVO_EXPORT(plugin, SetLibraryFiles)(source.options().c_str(), text.c_str(), b, l);
    });
    if (!bytes) throw Failure("the plug-in did not store the library files");
    source.Put(WithoutTerminator(*bytes));
    return 0;
}

int Linker(LoadedPlugin& plugin, const OptionsArguments& args) {
    Source source(args, ToolName(args.Tool().value_or(kLinker)));
    RequireReadable(plugin, source.options());
    const char* options = source.options().c_str();
    int reserved = 0;
    auto map = CallWithBuffer([&](char* b, int32_t* l) { return VIVO_EXPORT(plugin, GetLinkerMapFile)(0, options, b, l); });
    if (!map) throw Failure("the plug-in does not give the map file");
    const std::vector<std::string> mapFile = SplitNulList(*map);
    uint32_t commandFile = 0, dependencyScan = 0, areas = 0;
    if (VIVO_EXPORT(plugin, IsLinkedByCommandFile)(&reserved, options, &commandFile) != 0 ||
        VIVO_EXPORT(plugin, IsPreprocessorScanEnabled)(&reserved, options, &dependencyScan) != 0 ||
        VIVO_EXPORT(plugin, GetNoOfMemoryAreas)(0, options, &areas) != 0)
        throw Failure("the plug-in does not answer the linker questions");
    const std::string path = mapFile.empty() ? std::string() : mapFile[0];
    if (args.json) {
        Out(DumpJson({{"tool", source.tool()},
                      {"mapFile", path.empty() ? Json(nullptr) : Json(path)},
                      {"linkedByCommandFile", commandFile != 0},
                      {"dependencyScan", dependencyScan != 0},
                      {"memoryAreas", areas}},
                     -1));
        return 0;
    }
    OutF("Map file                %s\n", path.empty() ? "(none)" : path.c_str());
    OutF("Linked by command file  %s\n", commandFile ? "yes" : "no");
    OutF("Dependency scan         %s\n", dependencyScan ? "yes" : "no");
    OutF("Memory areas            %u\n", areas);
    return 0;
}

struct Area {
    int32_t number;
    std::string address;
    std::string sections;  // groups joined by ":", sections by ","
};

int Areas(LoadedPlugin& plugin, const OptionsArguments& args) {
    Source source(args, ToolName(args.Tool().value_or(kLinker)));
    RequireReadable(plugin, source.options());
    const char* options = source.options().c_str();
    uint32_t count = 0;
    if (VIVO_EXPORT(plugin, GetNoOfMemoryAreas)(0, options, &count) != 0)
        throw Failure("the plug-in does not count the memory areas");
    int32_t first = 1, last = static_cast<int32_t>(count);
    if (const std::optional<std::string> wanted = args.area.empty() ? std::nullopt : std::optional(args.area)) {
        char* end = nullptr;
        const long n = std::strtol(wanted->c_str(), &end, 10);
        if (wanted->empty() || *end != '\0' || n < 1 || n > static_cast<long>(count))
            throw Failure("area " + *wanted + " is out of range: the option string has " + std::to_string(count) +
                             " memory area" + (count == 1 ? "" : "s"));
        first = last = static_cast<int32_t>(n);
    }
    std::vector<Area> areas;
    int reserved = 0;
    for (int32_t n = first; n <= last; ++n) {
        auto address = CallWithBuffer(
            [&](char* b, int32_t* l) { return VIVO_EXPORT(plugin, GetAddressRanges)(0, options, n, b, l); });
        auto sections = CallWithBuffer(
            [&](char* b, int32_t* l) { return VIVO_EXPORT(plugin, GetSections)(&reserved, options, n, b, l); });
        if (!address || !sections)
            throw Failure("memory area " + std::to_string(n) + " has no address part \"(...)\"");
        const std::vector<std::string> a = SplitNulList(*address), s = SplitNulList(*sections);
        std::string digits = a.empty() ? std::string() : a[0];
        if (!digits.empty() && digits.back() == '|') digits.pop_back();
        areas.push_back({n, digits, s.empty() ? std::string() : s[0]});
    }
    if (args.json) {
        Json list = Json::array();
        for (const Area& area : areas) {
            Json groups = Json::array();
            for (const std::string& group : Split(area.sections, ':')) groups.push_back(Split(group, ','));
            list.push_back({{"number", area.number}, {"address", area.address}, {"sections", area.sections},
                            {"groups", groups}});
        }
        Out(DumpJson({{"tool", source.tool()}, {"memoryAreas", list}}, -1));
        return 0;
    }
    OutF("Memory areas of %s (%u)\n", source.tool().c_str(), count);
    if (!areas.empty()) OutF("  %-4s %-12s %s\n", "Area", "Address", "Sections (overlay groups after ':')");
    for (const Area& a : areas) OutF("  %-4d %-12s %s\n", a.number, a.address.c_str(), a.sections.c_str());
    return 0;
}

// "0x400=P,C:D" -> address list "0x400", groups {P, C} and {D}.
struct AreaArgument {
    std::string addressList;
    std::vector<std::string> groupLists;
};

AreaArgument ParseAreaArgument(const std::string& text) {
    const size_t equals = text.find('=');
    if (equals == std::string::npos || text.compare(0, 2, "0x") != 0 || equals <= 2 ||
        text.find_first_not_of("0123456789abcdefABCDEF", 2) != equals)
        throw Failure("a memory area is written 0xADDRESS=SECTIONS, e.g. 0x400=P,C:D (got \"" + text + "\")");
    AreaArgument area;
    area.addressList = text.substr(0, equals) + '\0' + '\0';
    for (const std::string& group : Split(text.substr(equals + 1), ':')) {
        const std::vector<std::string> names = Split(group, ',');
        for (const std::string& name : names)
            if (name.empty() || name.find_first_of(" \t|\"{}") != std::string::npos)
                throw Failure("bad section name \"" + name + "\" in " + text +
                                 " (names are not empty and hold no blank, tab, '|', '\"', '{' or '}')");
        if (names.empty()) throw Failure("a memory area needs sections: " + text);
        area.groupLists.push_back(NulList(names, "section name"));
    }
    if (area.groupLists.empty()) throw Failure("a memory area needs sections: " + text);
    return area;
}

int SetAreas(LoadedPlugin& plugin, const OptionsArguments& args) {
    std::vector<AreaArgument> parsed;
    for (const std::string& text : args.values) parsed.push_back(ParseAreaArgument(text));
    Source source(args, ToolName(args.Tool().value_or(kLinker)));
    RequireReadable(plugin, source.options());
    std::vector<std::vector<const char*>> groups(parsed.size());
    std::vector<VivoMemoryArea> records;
    for (size_t i = 0; i < parsed.size(); ++i) {
        for (const std::string& g : parsed[i].groupLists) groups[i].push_back(g.c_str());
        groups[i].push_back(nullptr);
        records.push_back({0, parsed[i].addressList.c_str(), groups[i].data()});
    }
    std::vector<const VivoMemoryArea*> pointers;
    for (const VivoMemoryArea& r : records) pointers.push_back(&r);
    pointers.push_back(nullptr);
    int reserved = 0;
    auto bytes = CallWithBuffer([&](char* b, int32_t* l) {
        return VIVO_EXPORT(plugin, UpdateLinkerSections)(&reserved, source.options().c_str(), pointers.data(), b, l);
    });
    if (!bytes) throw Failure("the plug-in refused the memory areas");
    source.Put(WithoutTerminator(*bytes));
    return 0;
}

int Convert(LoadedPlugin& plugin, const OptionsArguments& args) {
    const std::string from = ToolName(args.from.empty() ? kCompiler : args.from);
    const std::string to = ToolName(args.to.empty() ? kAssembler : args.to);
    Source source(args, from);
    RequireReadable(plugin, source.options());
    const VivoToolchainRecord toolchain{12, kKzToolchain, ""};
    int32_t rc = 1;
    auto bytes = CallWithBuffer([&](char* b, int32_t* l) {
        rc = VIVO_EXPORT(plugin, ConvertPhaseOptions)(&toolchain, from.c_str(), to.c_str(),
                                                      source.options().c_str(), b, l);
        return rc;
    });
    if (rc == -3) throw Failure("no conversion of options from \"" + from + "\" to \"" + to + "\"");
    if (rc == -2) {
        std::fprintf(stderr, "vivo: the compiler options do not output assembly source ([S|OUTPUT|SRC]); "
                             "there are no assembler options to derive\n");
        return kExitProblems;
    }
    if (!bytes || rc != 0) throw Failure("the plug-in did not convert the options (result " + std::to_string(rc) + ")");
    const std::string converted = WithoutTerminator(*bytes);
    if (args.json)
        Out(DumpJson({{"from", from}, {"to", to}, {"options", converted}}, -1));
    else
        Out(converted + "\n");
    return 0;
}

// One action of `vivo options`: its name, what it does, which arguments it takes.
struct Action {
    const char* name;
    const char* summary;
    enum Takes { kNothing = 0, kValues = 1, kOutput = 2, kArea = 4, kConversion = 8 };
    int takes;
    const char* valuesName;
    int (*run)(LoadedPlugin&, const OptionsArguments&);
};

constexpr std::array<Action, 10> kActions = {{
    {"includes", "the include directories of a compiler or assembler", Action::kNothing, "",
     [](LoadedPlugin& p, const OptionsArguments& a) { return IncludesOrDefines(p, a, true, false); }},
    {"set-includes", "stores the include directories given", Action::kValues | Action::kOutput, "DIRECTORY",
     [](LoadedPlugin& p, const OptionsArguments& a) { return IncludesOrDefines(p, a, true, true); }},
    {"defines", "the defines of a compiler or assembler", Action::kNothing, "",
     [](LoadedPlugin& p, const OptionsArguments& a) { return IncludesOrDefines(p, a, false, false); }},
    {"set-defines", "stores the defines given", Action::kValues | Action::kOutput, "DEFINE",
     [](LoadedPlugin& p, const OptionsArguments& a) { return IncludesOrDefines(p, a, false, true); }},
    {"libraries", "the linker's library files", Action::kNothing, "",
     [](LoadedPlugin& p, const OptionsArguments& a) { return Libraries(p, a, false); }},
    {"set-libraries", "stores the library files given (none removes the item)", Action::kValues | Action::kOutput,
     "LIBRARY", [](LoadedPlugin& p, const OptionsArguments& a) { return Libraries(p, a, true); }},
    {"linker", "the linker's map file, command-file linking, dependency scan and memory area count",
     Action::kNothing, "", [](LoadedPlugin& p, const OptionsArguments& a) { return Linker(p, a); }},
    {"areas", "the linker's memory areas: start address and sections", Action::kArea, "",
     [](LoadedPlugin& p, const OptionsArguments& a) { return Areas(p, a); }},
    {"set-areas", "stores the memory areas given as 0xADDRESS=SECTIONS (e.g. 0x400=P,C:D)",
     Action::kValues | Action::kOutput, "AREA", [](LoadedPlugin& p, const OptionsArguments& a) { return SetAreas(p, a); }},
    {"convert", "derives one tool's options from another's (the assembler's from the compiler's)",
     Action::kConversion, "", [](LoadedPlugin& p, const OptionsArguments& a) { return Convert(p, a); }},
}};

}  // namespace

void AddOptionsCommand(CLI::App& app, Host& host) {
    CLI::App* options = app.add_subcommand(
        "options", "reads and rewrites single settings of an option string, as the IDE's settings dialogs do");
    options->require_subcommand(1);
    for (const Action& action : kActions) {
        auto args = std::make_shared<OptionsArguments>();
        CLI::App* command = options->add_subcommand(action.name, action.summary);
        auto* text = command->add_option("--options", args->options, "the option string itself")->type_name("TEXT");
        auto* file = command->add_option("--options-file", args->optionsFile, "a file holding the option string")
                         ->type_name("FILE");
        auto* project = command->add_option("--project", args->project, "the options of a tool in a project file")
                            ->type_name("FILE");
        text->excludes(file, project);
        file->excludes(project);
        if ((action.takes & Action::kConversion) == 0)
            command->add_option("--tool", args->tool, "compiler, assembler, linker or a full tool name")
                ->type_name("NAME");
        command->add_flag("--json", args->json, "JSON instead of text");
        if ((action.takes & Action::kValues) != 0)
            command->add_option(std::string(action.valuesName), args->values, "the entries to store")
                ->type_name(action.valuesName);
        if ((action.takes & Action::kOutput) != 0) {
            command->add_option("--output", args->output,
                                "write the result there (the project file itself is rewritten in place)")
                ->type_name("FILE");
            command->add_flag("--force", args->force, "overwrite an existing output file");
        }
        if ((action.takes & Action::kArea) != 0)
            command->add_option("--area", args->area, "only this memory area (1, 2, ...)")->type_name("N");
        if ((action.takes & Action::kConversion) != 0) {
            command->add_option("--from", args->from, "the tool whose options are given (default: compiler)")
                ->type_name("NAME");
            command->add_option("--to", args->to, "the tool to derive options for (default: assembler)")
                ->type_name("NAME");
        }
        command->callback([&host, args, command, run = action.run] {
            args->optionsGiven = command->count("--options") > 0;
            host.run = [&host, args, run] { return run(host.Plugin(), *args); };
        });
    }
}

}  // namespace vivo::host
