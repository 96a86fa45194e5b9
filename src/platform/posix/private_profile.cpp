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

// Names compare without case: the index keeps them in lower case.
std::string LowerTrimmed(std::string_view text) {
    std::string lower(Trim(text));
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// "'text'" and "\"text\"" lose their quotes; "\"text'" and a lone "\"" keep them.
std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

std::optional<std::string> ReadWholeFile(std::string_view path) {
    std::FILE* file = OpenFile(path, "rb");
    if (file == nullptr) return std::nullopt;
    std::string text;
    char chunk[4096];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) text.append(chunk, got);
    std::fclose(file);
    return text;
}

}  // namespace

ProfileIndex::ProfileIndex(std::string_view iniText) {
    if (iniText.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark) {
        iniText.remove_prefix(kUtf8ByteOrderMark.size());
    }
    // Keys of a repeated section, and keys before the first section, go nowhere.
    std::unordered_map<std::string, std::string>* keys = nullptr;
    std::size_t start = 0;
    while (start < iniText.size()) {
        std::size_t end = iniText.find('\n', start);
        if (end == std::string_view::npos) end = iniText.size();
        const std::string_view line = Trim(iniText.substr(start, end - start));
        start = end + 1;

        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {  // "[Section]"
            const auto close = line.find(']');
            const auto [entry, isNew] = sections_.try_emplace(
                LowerTrimmed(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
            keys = isNew ? &entry->second : nullptr;
            continue;
        }
        if (keys == nullptr) continue;
        const auto equals = line.find('=');  // "Key = Value"
        if (equals == std::string_view::npos) continue;
        // try_emplace keeps the first value of a key.
        keys->try_emplace(LowerTrimmed(line.substr(0, equals)), Unquote(Trim(line.substr(equals + 1))));
    }
}

std::optional<std::string_view> ProfileIndex::Find(std::string_view section, std::string_view key) const {
    const auto keys = sections_.find(LowerTrimmed(section));
    if (keys == sections_.end()) return std::nullopt;
    const auto value = keys->second.find(LowerTrimmed(key));
    if (value == keys->second.end()) return std::nullopt;
    return value->second;
}

std::optional<std::string> FindProfileValue(std::string_view iniText, std::string_view section,
                                            std::string_view key) {
    const ProfileIndex index(iniText);
    const std::optional<std::string_view> value = index.Find(section, key);
    if (!value) return std::nullopt;
    return std::string(*value);
}

struct ProfileFile::Contents {
    std::optional<ProfileIndex> index;  // nothing when the file cannot be read
};

ProfileFile::ProfileFile(std::string_view path) : contents_(std::make_unique<Contents>()) {
    if (const std::optional<std::string> text = ReadWholeFile(path)) contents_->index.emplace(*text);
}

ProfileFile::~ProfileFile() = default;

std::string ProfileFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue,
                                    std::size_t bufferSize) const {
    std::optional<std::string_view> found;
    if (contents_->index) found = contents_->index->Find(section, key);
    std::string_view value;
    if (found) {
        value = *found;
    } else {
        // Trailing blanks of the default are cut off, as the system does.
        const auto last = defaultValue.find_last_not_of(' ');
        value = defaultValue.substr(0, last == std::string_view::npos ? 0 : last + 1);
    }
    const std::size_t room = bufferSize == 0 ? 0 : bufferSize - 1;
    return std::string(value.substr(0, room));
}

}  // namespace vivo::platform
