#include "platform/private_profile.h"

#include <cstdio>

#include "platform/file_system.h"

namespace vivo::platform {
namespace {

constexpr std::string_view kBlanks = " \t\r\f\v";
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

// "'text'" and "\"text\"" lose their quotes; "\"text'" and a lone "\"" keep them.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::string ReadWholeFile(std::FILE* file) {
    std::string text;
    char chunk[4096];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
    return text;
}

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view iniText, std::string_view section,
                                            std::string_view key) {
    if (iniText.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
        iniText.remove_prefix(kUtf8ByteOrderMark.size());
    }
    const std::string_view wantedSection = Trim(section);
    const std::string_view wantedKey = Trim(key);
    bool seenSection = false;  // the first matching section is the only one searched
    bool inSection = false;
    std::size_t start = 0;
    while (start < iniText.size()) {
        std::size_t end = iniText.find('\n', start);
        if (end == std::string_view::npos) end = iniText.size();
        const std::string_view line = Trim(iniText.substr(start, end - start));
        start = end + 1;

        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {  // "[Section]"
            if (seenSection) return std::nullopt;
            const auto close = line.find(']');
            const std::string_view name = Trim(line.substr(1, close == std::string_view::npos
                                                                  ? std::string_view::npos
                                                                  : close - 1));
            inSection = EqualNoCase(name, wantedSection);
            seenSection = inSection;
            continue;
        }
        if (!inSection) continue;
        const auto equals = line.find('=');  // "Key = Value"
        if (equals == std::string_view::npos) continue;
        if (!EqualNoCase(Trim(line.substr(0, equals)), wantedKey)) continue;
        return std::string(Unquote(Trim(line.substr(equals + 1))));
    }
    return std::nullopt;
}

std::string ReadProfileString(std::string_view path, std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t bufferSize) {
    std::optional<std::string> value;
    if (std::FILE* file = OpenFile(path, "rb")) {
        const std::string text = ReadWholeFile(file);
        std::fclose(file);
        value = FindProfileValue(text, section, key);
    }
    if (!value) {
        // Trailing blanks of the default are cut off, as the system does.
        const auto last = defaultValue.find_last_not_of(' ');
        value = std::string(defaultValue.substr(0, last == std::string_view::npos ? 0 : last + 1));
    }
    const std::size_t room = bufferSize == 0 ? 0 : bufferSize - 1;
    if (value->size() > room) value->resize(room);
    return *value;
}

}  // namespace vivo::platform
