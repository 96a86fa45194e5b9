#pragma once
// The plug-in's keyword groups as files other editors load: a TextMate grammar (VS Code and the many
// editors that read TextMate grammars) and a Vim syntax file. Pure functions over what the plug-in said.

#include <cstdint>
#include <string>
#include <vector>

#include "json_text.h"

namespace vivo::host {

struct KeywordFileType {
    std::string description;              // "C source file"
    std::vector<std::string> extensions;  // "C", as the plug-in lists them
};

// The file types that get the same keyword lines from the plug-in, and those lines: one keyword
// group per line, numbered from 1 by its place (an empty line leaves its number unused). A word in
// two groups stays in the first.
struct KeywordLanguage {
    std::string id;  // "c": the first file type's first extension, lower case
    std::vector<KeywordFileType> fileTypes;
    std::vector<std::vector<std::string>> groups;
};

// The keyword text of one file type (lines of blank-separated words) as groups.
std::vector<std::vector<std::string>> KeywordGroups(const std::string& text);

// "source.kz.c" and the group's scope "keyword.control.group1.kz.c".
std::string ScopeName(const KeywordLanguage& language);
std::string GroupScope(const KeywordLanguage& language, std::size_t group);
// "kzc" and the group's highlight group "kzcGroup1".
std::string VimSyntaxName(const KeywordLanguage& language);
std::string VimGroup(const KeywordLanguage& language, std::size_t group);

std::string TextMateGrammar(const KeywordLanguage& language, uint32_t version);
std::string VimSyntax(const KeywordLanguage& language, uint32_t version);
Json KeywordJson(const KeywordLanguage& language);

}  // namespace vivo::host
