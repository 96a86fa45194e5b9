// vivo keywords: the keyword lines the host's editor gets for one file type, as the plug-in reads them
// from SyntaxColouring.ini beside it and in the machine-wide application-data folder; with --format,
// the same keyword groups as a TextMate grammar, a Vim syntax file or JSON.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <map>
#include <string>

#include "editor_keywords.h"
#include "files.h"
#include "host.h"
#include "json_text.h"

namespace vivo::host {
namespace {

int PrintVersion(LoadedPlugin& plugin) {
    uint32_t version = 0;
    if (VIVO_EXPORT(plugin, GetSyntaxColouringVersion)(&version) != 0) {
        std::fprintf(stderr, "vivo: the colouring files hold no version\n");
        return kExitProblems;
    }
    OutF("%u\n", version);
    return kExitOk;
}

std::string KeywordText(LoadedPlugin& plugin, const std::string& name) {
    const auto information = VIVO_EXPORT(plugin, GetSyntaxColouringInformation);
    std::optional<std::string> text =
        CallWithBuffer([&](char* buffer, int32_t* len) { return information(name.c_str(), buffer, len); });
    if (!text) throw Failure("the plug-in gives no keywords for \"" + name + "\"");
    return WithoutTerminator(*text);  // the length counts the terminator
}

int PrintKeywords(LoadedPlugin& plugin, const std::string& name) {
    const std::string text = KeywordText(plugin, name);
    if (text.empty()) {
        std::fprintf(stderr, "vivo: no keywords for \"%s\"\n", name.c_str());
        return kExitProblems;
    }
    Out(text);
    return kExitOk;
}

// The file types the plug-in lists, grouped by the keyword text it gives each; those without keywords
// left out. A `name` the list lacks (a file type of the second colouring file) joins as its own.
std::vector<KeywordLanguage> AskLanguages(LoadedPlugin& plugin, const std::string& name) {
    const auto list = CallWithBuffer(
        [&](char* b, int32_t* l) { return VIVO_EXPORT(plugin, GetSupportedFileExtensions)(b, l); });
    if (!list) throw Failure("the plug-in does not give its file types");
    std::vector<KeywordFileType> types;
    for (const std::string& line : SplitNulList(*list)) {
        // "C++ source file|TEXT|CPP|CC|CP"
        KeywordFileType& type = types.emplace_back();
        std::size_t bar = line.find('|');
        type.description = line.substr(0, bar);
        if (bar != std::string::npos) bar = line.find('|', bar + 1);
        while (bar != std::string::npos) {
            const std::size_t next = line.find('|', bar + 1);
            type.extensions.push_back(line.substr(bar + 1, next - bar - 1));
            bar = next;
        }
    }
    bool listed = name.empty();
    for (const KeywordFileType& type : types) listed = listed || type.description == name;
    if (!listed) types.push_back({name, {}});

    std::vector<KeywordLanguage> languages;
    std::map<std::string, std::size_t> byText;
    for (const KeywordFileType& type : types) {
        const std::string text = KeywordText(plugin, type.description);
        if (text.empty()) continue;
        const auto [at, added] = byText.emplace(text, languages.size());
        if (added) {
            KeywordLanguage& language = languages.emplace_back();
            for (char c : type.extensions.empty() ? type.description : type.extensions.front())
                if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
                    language.id += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            language.groups = KeywordGroups(text);
        }
        languages[at->second].fileTypes.push_back(type);
    }
    if (name.empty()) return languages;
    for (const KeywordLanguage& language : languages)
        for (const KeywordFileType& type : language.fileTypes)
            if (type.description == name) return {language};
    return {};
}

int PrintFormat(LoadedPlugin& plugin, const std::string& format, const std::string& name) {
    if (format != "json" && name.empty())
        throw Failure("keywords --format " + format + " needs a file type, such as \"C source file\"");
    uint32_t version = 0;  // 0 when the colouring files hold none
    VIVO_EXPORT(plugin, GetSyntaxColouringVersion)(&version);
    const std::vector<KeywordLanguage> languages = AskLanguages(plugin, name);
    if (languages.empty()) {
        std::fprintf(stderr, "vivo: no keywords for \"%s\"\n", name.c_str());
        return kExitProblems;
    }
    if (format == "textmate") {
        Out(TextMateGrammar(languages.front(), version));
    } else if (format == "vim") {
        Out(VimSyntax(languages.front(), version));
    } else {
        Json list = Json::array();
        for (const KeywordLanguage& language : languages) list.push_back(KeywordJson(language));
        Out(DumpJson({{"version", version}, {"languages", list}}));
    }
    return kExitOk;
}

}  // namespace

void AddKeywordsCommand(CLI::App& app, Host& host) {
    CLI::App* command = app.add_subcommand(
        "keywords",
        "the editor's keyword lines for a file type (from SyntaxColouring.ini), their version, or the keyword groups as "
        "a TextMate grammar, a Vim syntax file or JSON");
    auto name = std::make_shared<std::string>();
    auto version = std::make_shared<bool>(false);
    command->add_option("name", *name, "a file type, such as \"C source file\"")->type_name("NAME");
    command->add_flag("--version", *version, "the keyword data's version instead");
    auto format = std::make_shared<std::string>();
    command->add_option("--format", *format,
                        "the keyword groups as a TextMate grammar or a Vim syntax file for the file type, or as "
                        "JSON (all file types when none is named)")
        ->check(CLI::IsMember({"textmate", "vim", "json"}))
        ->type_name("FORMAT");
    command->callback([&host, name, version, format] {
        host.run = [&host, name, version, format] {
            if (!format->empty()) {
                if (*version) throw Failure("keywords: give --format or --version, not both");
                return PrintFormat(host.Plugin(), *format, *name);
            }
            if (*version) {
                if (!name->empty()) throw Failure("keywords: give a file type or --version, not both");
                return PrintVersion(host.Plugin());
            }
            if (name->empty()) throw Failure("keywords needs one file type name, such as \"C source file\"");
            return PrintKeywords(host.Plugin(), *name);
        };
    });
}

}  // namespace vivo::host
