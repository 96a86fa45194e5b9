#include "editor_files.h"

#include <algorithm>

#include "json_text.h"

namespace vivo::host {
namespace {

namespace fs = std::filesystem;

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsIdentifierChar(char c) { return IsLetter(c) || (c >= '0' && c <= '9') || c == '_'; }

// Replaces "$(NAME)" by its value; `literal` rewrites the text between placeholders (never a value).
template <class Literal>
Substitution Substitute(std::string_view text, const std::map<std::string, std::string>& values, Literal literal) {
    Substitution result;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find("$(", pos);
        const std::size_t close = open == std::string_view::npos ? open : text.find(')', open + 2);
        if (close == std::string_view::npos) break;  // "$(" without its ")" is text
        result.text += literal(text.substr(pos, open - pos));
        const std::string name(text.substr(open + 2, close - open - 2));
        if (const auto known = values.find(name); known != values.end()) {
            result.text += known->second;
        } else if (std::find(result.unknown.begin(), result.unknown.end(), name) == result.unknown.end()) {
            result.unknown.push_back(name);
        }
        pos = close + 1;
    }
    result.text += literal(text.substr(std::min(pos, text.size())));
    return result;
}

bool StartsWithDrive(std::string_view path) { return path.size() >= 2 && IsLetter(path[0]) && path[1] == ':'; }

}  // namespace

Substitution LocalFolder(std::string_view entry, const std::map<std::string, std::string>& values, const fs::path& base,
                         bool windowsStyle) {
    if (windowsStyle) {
        Substitution folder = Substitute(entry, values, [](std::string_view s) { return std::string(s); });
        const std::string& t = folder.text;
        const bool absolute = StartsWithDrive(t) || (!t.empty() && (t[0] == '\\' || t[0] == '/'));
        if (!absolute) folder.text = base.string() + (t.empty() ? "" : "\\" + t);
        return folder;
    }
    // "C:\Program Files\KZ\include" -> "/Program Files/KZ/include": the drive has no meaning here.
    if (StartsWithDrive(entry)) entry.remove_prefix(2);
    Substitution folder = Substitute(entry, values, [](std::string_view s) {
        std::string converted(s);
        std::replace(converted.begin(), converted.end(), '\\', '/');
        return converted;
    });
    fs::path path = base / fs::path(folder.text);  // an absolute folder replaces the base
    std::string normal = path.lexically_normal().string();
    while (normal.size() > 1 && normal.back() == '/') normal.pop_back();
    folder.text = normal;
    return folder;
}

Substitution LocalDefine(std::string_view entry, const std::map<std::string, std::string>& values) {
    return Substitute(entry, values, [](std::string_view s) { return std::string(s); });
}

bool IsDefineClangTakes(std::string_view define) {
    std::size_t end = 0;
    while (end < define.size() && IsIdentifierChar(define[end])) ++end;
    if (end == 0 || (define[0] >= '0' && define[0] <= '9')) return false;
    if (end < define.size() && define[end] == '(') {  // "MAX(a,b)=..."
        const std::size_t close = define.find(')', end);
        if (close == std::string_view::npos) return false;
        end = close + 1;
    }
    return end == define.size() || define[end] == '=';
}

std::vector<std::string> PhaseFlags::Flags() const {
    std::vector<std::string> flags;
    for (const std::string& folder : includeFolders) flags.push_back("-I" + folder);
    for (const std::string& define : defines) flags.push_back("-D" + define);
    return flags;
}

std::string CompileCommandsText(const std::string& directory, const std::vector<SourceEntry>& sources) {
    Json entries = Json::array();
    for (const SourceEntry& source : sources) {
        std::vector<std::string> arguments{"clang", "-x" + source.language};
        for (std::string& flag : source.flags->Flags()) arguments.push_back(std::move(flag));
        arguments.insert(arguments.end(), {"-c", source.file});
        entries.push_back({{"directory", directory}, {"arguments", arguments}, {"file", source.file}});
    }
    return DumpJson(entries);
}

std::string ClangdText(const std::string& projectName, const PhaseFlags& compiler) {
    const std::string name = IsUtf8(projectName) ? projectName : Latin1ToUtf8(projectName);
    std::string text = "# Written by vivo editor from the KZ project \"" + name +
                       "\": the compiler's include folders and defines,\n"
                       "# for the files that compile_commands.json does not list (headers, new sources).\n"
                       "CompileFlags:\n";
    const std::vector<std::string> flags = compiler.Flags();
    if (flags.empty()) return text + "  Add: []\n";
    text += "  Add:\n";
    for (const std::string& flag : flags) text += "    - " + Json(flag).dump() + "\n";  // a JSON string is YAML
    return text;
}

std::string CppPropertiesText(const std::string& projectName, const PhaseFlags& compiler) {
    // An empty compiler path keeps the extension from asking this machine's compiler for its own
    // system folders and defines, which are not the KZ compiler's.
    Json configuration = {{"name", IsUtf8(projectName) ? projectName : Latin1ToUtf8(projectName)},
                          {"includePath", compiler.includeFolders},
                          {"defines", compiler.defines},
                          {"compilerPath", ""}};
    return DumpJson({{"configurations", Json::array({configuration})}, {"version", 4}}, 4);
}

}  // namespace vivo::host
