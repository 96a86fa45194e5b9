#include "editor_keywords.h"

#include <algorithm>
#include <array>
#include <set>
#include <string_view>

namespace vivo::host {
namespace {

// How each keyword group looks, by its number (the first row for group 1, and round again after the
// last): a TextMate scope that colour themes know, and the standard Vim group it links to.
struct GroupStyle {
    const char* textMateScope;
    const char* vimGroup;
};
constexpr std::array<GroupStyle, 6> kGroupStyles = {{
    {"keyword.control", "Statement"},
    {"storage.type", "Type"},
    {"keyword.other", "PreProc"},
    {"support.type", "Special"},
    {"constant.language", "Constant"},
    {"variable.language", "Identifier"},
}};

// Words `syn keyword` would read as its own options rather than as keywords.
constexpr std::array<std::string_view, 17> kVimKeywordOptions = {
    "cchar", "conceal", "concealends", "contained", "containedin", "contains", "display",   "excludenl",   "extend",
    "fold",  "keepend", "nextgroup",   "oneline",   "skipempty",   "skipnl",   "skipwhite", "transparent",
};

bool IsWordChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

// The characters besides letters, digits and "_" that keywords hold ("#" of "#define", "." of ".ORG"):
// a keyword is one only where none of them, nor a word character, stands next to it.
std::string PunctuationOf(const KeywordLanguage& language) {
    std::set<char> found;
    for (const auto& group : language.groups)
        for (const std::string& word : group)
            for (char c : word)
                if (!IsWordChar(c)) found.insert(c);
    return std::string(found.begin(), found.end());
}

std::string RegexEscaped(std::string_view text) {
    std::string escaped;
    for (char c : text) {
        if (!IsWordChar(c)) escaped += '\\';
        escaped += c;
    }
    return escaped;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

std::string Descriptions(const KeywordLanguage& language) {
    std::string text;
    for (const KeywordFileType& type : language.fileTypes) text += (text.empty() ? "" : ", ") + type.description;
    return text;
}

}  // namespace

std::vector<std::vector<std::string>> KeywordGroups(const std::string& text) {
    std::vector<std::vector<std::string>> groups;
    std::set<std::string> seen;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::vector<std::string>& group = groups.emplace_back();
        std::size_t pos = start;
        while (pos < end) {
            const std::size_t first = text.find_first_not_of(" \t\r", pos);
            if (first >= end) break;
            std::size_t last = text.find_first_of(" \t\r", first);
            if (last > end) last = end;
            std::string word = text.substr(first, last - first);
            if (seen.insert(word).second) group.push_back(std::move(word));
            pos = last;
        }
        start = end + 1;
    }
    return groups;
}

std::string ScopeName(const KeywordLanguage& language) { return "source.kz." + language.id; }

std::string GroupScope(const KeywordLanguage& language, std::size_t group) {
    return std::string(kGroupStyles[(group - 1) % kGroupStyles.size()].textMateScope) + ".group" +
           std::to_string(group) + ".kz." + language.id;
}

std::string VimSyntaxName(const KeywordLanguage& language) {
    std::string name = "kz";
    for (char c : Lower(language.id))
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) name += c;
    return name;
}

std::string VimGroup(const KeywordLanguage& language, std::size_t group) {
    return VimSyntaxName(language) + "Group" + std::to_string(group);
}

std::string TextMateGrammar(const KeywordLanguage& language, uint32_t version) {
    std::vector<std::string> fileTypes;
    for (const KeywordFileType& type : language.fileTypes)
        for (const std::string& extension : type.extensions)
            for (const std::string& spelling : {Lower(extension), extension})
                if (std::find(fileTypes.begin(), fileTypes.end(), spelling) == fileTypes.end())
                    fileTypes.push_back(spelling);
    // Lookbehind and lookahead rather than \b: "#define" and ".ORG" begin with no word character.
    const std::string boundary = "[\\w" + RegexEscaped(PunctuationOf(language)) + "]";
    Json patterns = Json::array();
    Json repository = Json::object();
    for (std::size_t g = 1; g <= language.groups.size(); ++g) {
        const std::vector<std::string>& words = language.groups[g - 1];
        if (words.empty()) continue;
        std::string alternatives;
        for (const std::string& word : words) alternatives += (alternatives.empty() ? "" : "|") + RegexEscaped(word);
        const std::string key = "group" + std::to_string(g);
        patterns.push_back({{"include", "#" + key}});
        repository[key] = {{"match", "(?<!" + boundary + ")(?:" + alternatives + ")(?!" + boundary + ")"},
                           {"name", GroupScope(language, g)}};
    }
    return DumpJson(
        {{"name", "KZ " + language.fileTypes.front().description},
         {"scopeName", ScopeName(language)},
         {"comment", "Keyword groups of the KZ toolchain plug-in (keyword data version " + std::to_string(version) +
                         ") for " + Descriptions(language) + "; written by vivo keywords --format textmate."},
         {"fileTypes", fileTypes},
         {"patterns", patterns},
         {"repository", repository}});
}

std::string VimSyntax(const KeywordLanguage& language, uint32_t version) {
    const std::string name = VimSyntaxName(language);
    std::string extensions;
    for (const KeywordFileType& type : language.fileTypes)
        for (const std::string& extension : type.extensions) extensions += " *." + Lower(extension);
    std::string text =
        "\" Vim syntax file\n"
        "\" Language: KZ " +
        Descriptions(language) +
        "\n"
        "\" Files:   " +
        extensions.substr(extensions.empty() ? 0 : 1) +
        "\n"
        "\" Keyword groups of the KZ toolchain plug-in (keyword data version " +
        std::to_string(version) +
        "), written by vivo keywords --format vim.\n"
        "if exists(\"b:current_syntax\")\n  finish\nendif\n"
        "let s:cpo_save = &cpo\nset cpo&vim\n\nsyn case match\n";
    // Keywords are runs of 'iskeyword' characters: the punctuation they hold joins the default set.
    std::string iskeyword = "@,48-57,_,192-255";
    for (char c : PunctuationOf(language)) iskeyword += "," + std::to_string(static_cast<unsigned char>(c));
    text += "syn iskeyword " + iskeyword + "\n";
    for (std::size_t g = 1; g <= language.groups.size(); ++g) {
        const std::string group = VimGroup(language, g);
        std::string line;
        for (const std::string& word : language.groups[g - 1]) {
            const bool option =
                std::find(kVimKeywordOptions.begin(), kVimKeywordOptions.end(), word) != kVimKeywordOptions.end();
            if (option || word.find_first_of("[]|\"\\") != std::string::npos) {
                std::string literal;  // very nomagic: only the backslash is special, the quote ends the pattern
                for (char c : word) literal += c == '\\' ? "\\\\" : c == '"' ? "\\\"" : std::string(1, c);
                text += "syn match " + group + " \"\\V\\<" + literal + "\\>\"\n";
                continue;
            }
            if (line.size() + word.size() > 100) {
                text += "syn keyword " + group + line + "\n";
                line.clear();
            }
            line += " " + word;
        }
        if (!line.empty()) text += "syn keyword " + group + line + "\n";
    }
    text += "\n";
    for (std::size_t g = 1; g <= language.groups.size(); ++g)
        if (!language.groups[g - 1].empty())
            text += "hi def link " + VimGroup(language, g) + " " +
                    kGroupStyles[(g - 1) % kGroupStyles.size()].vimGroup + "\n";
    text += "\nlet b:current_syntax = \"" + name + "\"\nlet &cpo = s:cpo_save\nunlet s:cpo_save\n";
    return IsUtf8(text) ? text : Latin1ToUtf8(text);
}

Json KeywordJson(const KeywordLanguage& language) {
    Json fileTypes = Json::array();
    for (const KeywordFileType& type : language.fileTypes)
        fileTypes.push_back({{"description", type.description}, {"extensions", type.extensions}});
    Json groups = Json::array();
    for (std::size_t g = 1; g <= language.groups.size(); ++g)
        if (!language.groups[g - 1].empty())
            groups.push_back({{"number", g},
                              {"textMateScope", GroupScope(language, g)},
                              {"vimGroup", VimGroup(language, g)},
                              {"keywords", language.groups[g - 1]}});
    return {{"id", language.id},
            {"scopeName", ScopeName(language)},
            {"vimSyntax", VimSyntaxName(language)},
            {"fileTypes", fileTypes},
            {"groups", groups}};
}

}  // namespace vivo::host
