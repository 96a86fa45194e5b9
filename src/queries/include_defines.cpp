#include "queries/include_defines.h"

#include "options/option_items.h"
#include "options/plain_text.h"

namespace vivo {
namespace {

// The item's value as one text, its own quotes and doubled characters still in it.
std::string_view FirstValue(const StringList& items, std::string_view prefix) {
    const std::string* item = FirstItemWithPrefix(items, prefix);
    return item != nullptr ? ItemValue(*item, prefix) : std::string_view{};
}

std::string Quoted(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    quoted += text;
    quoted += '"';
    return DoubleEscapeInQuotes(quoted, kValueEscapes);
}

std::string WithItem(std::string_view options, std::string_view prefix, std::string_view value) {
    std::string item;
    if (!value.empty()) {
        item.reserve(prefix.size() + value.size() + 1);
        item += prefix;
        item += value;
        item += ']';
    }
    return ReplaceFirstItem(options, prefix, item);
}

}  // namespace

StringList IncludeDirectoriesOf(std::string_view options) {
    StringList directories = SplitQuoted(FirstValue(OptionItems(options), kIncludePrefix), "|");
    for (std::string& entry : directories) {
        entry = UndoubleEscapes(entry, kValueEscapes);
        // The enclosing quotes go whether or not they are quotes.
        entry = entry.size() >= 2 ? entry.substr(1, entry.size() - 2) : std::string();
    }
    return directories;
}

std::string WithIncludeDirectories(std::string_view options, const StringList& directories) {
    StringList quoted;
    quoted.reserve(directories.size());
    for (const std::string& directory : directories) quoted.push_back(Quoted(directory));
    return WithItem(options, kIncludePrefix, Joined(quoted, '|'));
}

StringList DefinesOf(std::string_view options) {
    std::string value = UndoubleEscapes(FirstValue(OptionItems(options), kDefinePrefix), kValueEscapes);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return SplitQuoted(value, "|");
}

std::string WithDefines(std::string_view options, const StringList& defines) {
    std::string value = Joined(defines, '|');
    if (value.find_first_of("\"] ") != std::string::npos) value = Quoted(value);
    return WithItem(options, kDefinePrefix, value);
}

}  // namespace vivo
