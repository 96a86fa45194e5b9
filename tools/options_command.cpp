// vivo options: reads and rewrites single settings of an option string through the plug-in, as the
// IDE does when it shows or edits a tool's include directories, defines, libraries and section
// placement, or derives the assembler's options from the compiler's.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "host.h"
#include "project_file.h"

namespace vivo::host {
namespace {

constexpr const char* kToolchainName = "Veltora KZ Standard Toolchain";
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

std::string ReadFile(const std::string& path, const char* what) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw UsageError(std::string("cannot read ") + what + " " + path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(text.data(), static_cast<std::streamsize>(text.size()));
    file.close();
    if (!file) throw UsageError("cannot write " + path);
}

std::string NulList(const std::vector<std::string>& strings) {
    std::string list;
    for (const std::string& s : strings) {
        if (s.empty()) throw UsageError("an empty entry cannot be passed to the plug-in (it would end the list)");
        list += s;
        list += '\0';
    }
    list += '\0';
    return list;
}

std::string JsonArray(const std::vector<std::string>& strings) {
    std::string out = "[";
    for (size_t i = 0; i < strings.size(); ++i) out += (i ? ", " : "") + JsonString(strings[i]);
    return out + "]";
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

// Terminated text as the exports deliver it, without its NUL.
std::string WithoutTerminator(std::string bytes) {
    if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    return bytes;
}

// Where the option string comes from, and where a rewritten one goes.
class Source {
public:
    Source(const Arguments& args, const std::string& tool) : tool_(tool) {
        const int given = args.Has("--options") + args.Has("--options-file") + args.Has("--project");
        if (given != 1) throw UsageError("give the option string with one of --options TEXT, --options-file FILE, --project FILE");
        output_ = args.Value("--output");
        if (auto text = args.Value("--options")) {
            options_ = *text;
        } else if (auto file = args.Value("--options-file")) {
            options_ = ReadFile(*file, "option file");
        } else {
            projectFile_ = *args.Value("--project");
            project_ = ParseProject(ReadFile(projectFile_, "project file"), projectFile_);
            const std::string* options = project_.OptionsOf(tool_);
            if (options == nullptr) throw UsageError("the project has no options for " + tool_);
            options_ = *options;
        }
    }

    const std::string& options() const { return options_; }
    const std::string& tool() const { return tool_; }

    // Prints the rewritten option string, or writes it (a project file with it) to --output.
    void Put(const std::string& rewritten, bool json) {
        if (!output_) {
            if (json)
                std::printf("{\"tool\": %s, \"options\": %s}\n", JsonString(tool_).c_str(), JsonString(rewritten).c_str());
            else
                std::printf("%s\n", rewritten.c_str());
            return;
        }
        if (projectFile_.empty()) {
            WriteFile(*output_, rewritten);
        } else {
            for (PhaseOptions& phase : project_.options)
                if (phase.tool == tool_) phase.options = rewritten;
            WriteFile(*output_, FormatProject(project_));
        }
        if (json)
            std::printf("{\"tool\": %s, \"written\": %s}\n", JsonString(tool_).c_str(), JsonString(*output_).c_str());
        else
            std::printf("written %s\n", output_->c_str());
    }

private:
    std::string tool_;
    std::string options_;
    std::string projectFile_;
    Project project_;
    std::optional<std::string> output_;
};

// An option string the plug-in cannot read is refused before anything is asked. The phase option
// conversion is the export that tells: for a readable string it answers 0, -2 or 1 for a too small
// buffer (length above 1), for an unreadable one 1 with the length set to 0.
void RequireReadable(LoadedPlugin& plugin, const std::string& options) {
    const VivoToolchainRecord toolchain{12, kToolchainName, ""};
    char buffer[1];
    int32_t len = 1;
    const int32_t rc =
        VIVO_EXPORT(plugin, ConvertPhaseOptions)(&toolchain, kCompiler, kAssembler, options.c_str(), buffer, &len);
    if (rc == 1 && len == 0) throw UsageError("the option string does not parse (every item must be [TYPE|NAME|VALUE...])");
}

void RequireNoPositional(const Arguments& args, const std::string& action) {
    if (args.positional.size() > 1) throw UsageError(action + " takes no further arguments");
}

std::vector<std::string> Rest(const Arguments& args) {
    return std::vector<std::string>(args.positional.begin() + 1, args.positional.end());
}

void PrintList(const char* heading, const std::string& tool, const std::vector<std::string>& entries,
               const char* jsonKey, bool json) {
    if (json) {
        std::printf("{\"tool\": %s, \"%s\": %s}\n", JsonString(tool).c_str(), jsonKey, JsonArray(entries).c_str());
        return;
    }
    std::printf("%s of %s (%zu)\n", heading, tool.c_str(), entries.size());
    for (const std::string& e : entries) std::printf("  %s\n", e.c_str());
}

// Include directories or defines: list, or set from the remaining arguments.
int IncludesOrDefines(LoadedPlugin& plugin, const Arguments& args, bool includes, bool set) {
    const std::string tool = ToolName(args.Value("--tool").value_or(kCompiler));
    Source source(args, tool);
    RequireReadable(plugin, source.options());
    const bool json = args.Has("--json");
    const char* what = includes ? "include directories" : "defines";
    const std::string refused = "the plug-in keeps no " + std::string(what) + " for the tool \"" + tool +
                                "\" (only compiler and assembler tools have them)";
    if (!set) {
        RequireNoPositional(args, includes ? "includes" : "defines");
        auto get = includes ? VIVO_EXPORT(plugin, GetIncludeFileDirectories) : VIVO_EXPORT(plugin, GetDefines);
        auto bytes = CallWithBuffer([&](char* b, int32_t* l) { return get(tool.c_str(), source.options().c_str(), b, l); });
        if (!bytes) throw UsageError(refused);
        PrintList(includes ? "Include directories" : "Defines", tool, SplitNulList(*bytes),
                  includes ? "includeDirectories" : "defines", json);
        return 0;
    }
    const std::string list = NulList(Rest(args));
    auto put = includes ? VIVO_EXPORT(plugin, SetIncludeFileDirectories) : VIVO_EXPORT(plugin, SetDefines);
    auto bytes = CallWithBuffer(
        [&](char* b, int32_t* l) { return put(tool.c_str(), source.options().c_str(), list.c_str(), b, l); });
    if (!bytes) throw UsageError(refused);
    source.Put(WithoutTerminator(*bytes), json);
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

int Libraries(LoadedPlugin& plugin, const Arguments& args, bool set) {
    Source source(args, ToolName(args.Value("--tool").value_or(kLinker)));
    RequireReadable(plugin, source.options());
    const bool json = args.Has("--json");
    if (!set) {
        RequireNoPositional(args, "libraries");
        auto bytes = CallWithBuffer(
            [&](char* b, int32_t* l) { return VIVO_EXPORT(plugin, GetLibraryFiles)(source.options().c_str(), b, l); });
        if (!bytes) throw UsageError("the plug-in does not give the library files");
        PrintList("Library files", source.tool(), LibraryNames(*bytes), "libraries", json);
        return 0;
    }
    std::string text = "Library=";
    const std::vector<std::string> names = Rest(args);
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i].find_first_of(",\"") != std::string::npos)
            throw UsageError("a library file name cannot hold a comma or a double quote: " + names[i]);
        text += (i ? "," : "") + names[i];
    }
    auto bytes = CallWithBuffer([&](char* b, int32_t* l) {
        return VIVO_EXPORT(plugin, SetLibraryFiles)(source.options().c_str(), text.c_str(), b, l);
    });
    if (!bytes) throw UsageError("the plug-in did not store the library files");
    source.Put(WithoutTerminator(*bytes), json);
    return 0;
}

int Linker(LoadedPlugin& plugin, const Arguments& args) {
    RequireNoPositional(args, "linker");
    Source source(args, ToolName(args.Value("--tool").value_or(kLinker)));
    RequireReadable(plugin, source.options());
    const char* options = source.options().c_str();
    int reserved = 0;
    auto map = CallWithBuffer([&](char* b, int32_t* l) { return VIVO_EXPORT(plugin, GetLinkerMapFile)(0, options, b, l); });
    if (!map) throw UsageError("the plug-in does not give the map file");
    const std::vector<std::string> mapFile = SplitNulList(*map);
    uint32_t commandFile = 0, dependencyScan = 0, areas = 0;
    if (VIVO_EXPORT(plugin, IsLinkedByCommandFile)(&reserved, options, &commandFile) != 0 ||
        VIVO_EXPORT(plugin, IsPreprocessorScanEnabled)(&reserved, options, &dependencyScan) != 0 ||
        VIVO_EXPORT(plugin, GetNoOfMemoryAreas)(0, options, &areas) != 0)
        throw UsageError("the plug-in does not answer the linker questions");
    const std::string path = mapFile.empty() ? std::string() : mapFile[0];
    if (args.Has("--json")) {
        std::printf("{\"tool\": %s, \"mapFile\": %s, \"linkedByCommandFile\": %s, \"dependencyScan\": %s, "
                    "\"memoryAreas\": %u}\n",
                    JsonString(source.tool()).c_str(), path.empty() ? "null" : JsonString(path).c_str(),
                    commandFile ? "true" : "false", dependencyScan ? "true" : "false", areas);
        return 0;
    }
    std::printf("Map file                %s\n", path.empty() ? "(none)" : path.c_str());
    std::printf("Linked by command file  %s\n", commandFile ? "yes" : "no");
    std::printf("Dependency scan         %s\n", dependencyScan ? "yes" : "no");
    std::printf("Memory areas            %u\n", areas);
    return 0;
}

struct Area {
    int32_t number;
    std::string address;
    std::string sections;  // groups joined by ":", sections by ","
};

int Areas(LoadedPlugin& plugin, const Arguments& args) {
    RequireNoPositional(args, "areas");
    Source source(args, ToolName(args.Value("--tool").value_or(kLinker)));
    RequireReadable(plugin, source.options());
    const char* options = source.options().c_str();
    uint32_t count = 0;
    if (VIVO_EXPORT(plugin, GetNoOfMemoryAreas)(0, options, &count) != 0)
        throw UsageError("the plug-in does not count the memory areas");
    int32_t first = 1, last = static_cast<int32_t>(count);
    if (auto wanted = args.Value("--area")) {
        char* end = nullptr;
        const long n = std::strtol(wanted->c_str(), &end, 10);
        if (wanted->empty() || *end != '\0' || n < 1 || n > static_cast<long>(count))
            throw UsageError("area " + *wanted + " is out of range: the option string has " + std::to_string(count) +
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
            throw UsageError("memory area " + std::to_string(n) + " has no address part \"(...)\"");
        const std::vector<std::string> a = SplitNulList(*address), s = SplitNulList(*sections);
        std::string digits = a.empty() ? std::string() : a[0];
        if (!digits.empty() && digits.back() == '|') digits.pop_back();
        areas.push_back({n, digits, s.empty() ? std::string() : s[0]});
    }
    if (args.Has("--json")) {
        std::printf("{\"tool\": %s, \"memoryAreas\": [", JsonString(source.tool()).c_str());
        for (size_t i = 0; i < areas.size(); ++i) {
            std::string groups;
            for (const std::string& group : Split(areas[i].sections, ':'))
                groups += (groups.empty() ? "" : ", ") + JsonArray(Split(group, ','));
            std::printf("%s\n  {\"number\": %d, \"address\": %s, \"sections\": %s, \"groups\": [%s]}",
                        i ? "," : "", areas[i].number, JsonString(areas[i].address).c_str(),
                        JsonString(areas[i].sections).c_str(), groups.c_str());
        }
        std::printf("%s]}\n", areas.empty() ? "" : "\n");
        return 0;
    }
    std::printf("Memory areas of %s (%u)\n", source.tool().c_str(), count);
    if (!areas.empty()) std::printf("  %-4s %-12s %s\n", "Area", "Address", "Sections (overlay groups after ':')");
    for (const Area& a : areas) std::printf("  %-4d %-12s %s\n", a.number, a.address.c_str(), a.sections.c_str());
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
        throw UsageError("a memory area is written 0xADDRESS=SECTIONS, e.g. 0x400=P,C:D (got \"" + text + "\")");
    AreaArgument area;
    area.addressList = text.substr(0, equals) + '\0' + '\0';
    for (const std::string& group : Split(text.substr(equals + 1), ':')) {
        const std::vector<std::string> names = Split(group, ',');
        for (const std::string& name : names)
            if (name.empty() || name.find_first_of(" \t|\"{}") != std::string::npos)
                throw UsageError("bad section name \"" + name + "\" in " + text +
                                 " (names are not empty and hold no blank, tab, '|', '\"', '{' or '}')");
        if (names.empty()) throw UsageError("a memory area needs sections: " + text);
        area.groupLists.push_back(NulList(names));
    }
    if (area.groupLists.empty()) throw UsageError("a memory area needs sections: " + text);
    return area;
}

int SetAreas(LoadedPlugin& plugin, const Arguments& args) {
    Source source(args, ToolName(args.Value("--tool").value_or(kLinker)));
    RequireReadable(plugin, source.options());
    std::vector<AreaArgument> parsed;
    for (const std::string& text : Rest(args)) parsed.push_back(ParseAreaArgument(text));
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
    if (!bytes) throw UsageError("the plug-in refused the memory areas");
    source.Put(WithoutTerminator(*bytes), args.Has("--json"));
    return 0;
}

int Convert(LoadedPlugin& plugin, const Arguments& args) {
    RequireNoPositional(args, "convert");
    const std::string from = ToolName(args.Value("--from").value_or(kCompiler));
    const std::string to = ToolName(args.Value("--to").value_or(kAssembler));
    Source source(args, from);
    RequireReadable(plugin, source.options());
    const VivoToolchainRecord toolchain{12, kToolchainName, ""};
    int32_t rc = 1;
    auto bytes = CallWithBuffer([&](char* b, int32_t* l) {
        rc = VIVO_EXPORT(plugin, ConvertPhaseOptions)(&toolchain, from.c_str(), to.c_str(),
                                                      source.options().c_str(), b, l);
        return rc;
    });
    if (rc == -3) throw UsageError("no conversion of options from \"" + from + "\" to \"" + to + "\"");
    if (rc == -2) {
        std::fprintf(stderr, "vivo: the compiler options do not output assembly source ([S|OUTPUT|SRC]); "
                             "there are no assembler options to derive\n");
        return 1;
    }
    if (!bytes || rc != 0) throw UsageError("the plug-in did not convert the options (result " + std::to_string(rc) + ")");
    const std::string converted = WithoutTerminator(*bytes);
    if (args.Has("--json"))
        std::printf("{\"from\": %s, \"to\": %s, \"options\": %s}\n", JsonString(from).c_str(), JsonString(to).c_str(),
                    JsonString(converted).c_str());
    else
        std::printf("%s\n", converted.c_str());
    return 0;
}

}  // namespace

int RunOptions(LoadedPlugin& plugin, const Arguments& args) {
    if (args.positional.empty())
        throw UsageError("options needs an action: includes, set-includes, defines, set-defines, libraries, "
                         "set-libraries, linker, areas, set-areas, convert");
    const std::string& action = args.positional[0];
    if (action == "includes") return IncludesOrDefines(plugin, args, true, false);
    if (action == "set-includes") return IncludesOrDefines(plugin, args, true, true);
    if (action == "defines") return IncludesOrDefines(plugin, args, false, false);
    if (action == "set-defines") return IncludesOrDefines(plugin, args, false, true);
    if (action == "libraries") return Libraries(plugin, args, false);
    if (action == "set-libraries") return Libraries(plugin, args, true);
    if (action == "linker") return Linker(plugin, args);
    if (action == "areas") return Areas(plugin, args);
    if (action == "set-areas") return SetAreas(plugin, args);
    if (action == "convert") return Convert(plugin, args);
    throw UsageError("unknown options action: " + action + " (see vivo --help)");
}

}  // namespace vivo::host
