#pragma once
// Reading INI files the way GetPrivateProfileStringA does.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vivo::platform {

// One INI file, opened once for the many keys a reader asks in turn (a definition list, a keyword
// group), so that every key does not cost a file open.
class ProfileFile {
public:
    explicit ProfileFile(std::string_view path);
    ~ProfileFile();
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

    // The value of `key` in `section`, or `defaultValue` when the file, the section or the key is
    // missing. Section and key names compare case-insensitively, the first match wins; blanks
    // around keys and values are removed and one pair of enclosing matching quotes is removed from
    // a value; the result is cut to bufferSize - 1 characters (as through a buffer of that size). A
    // key present with an empty value gives the empty text; trailing blanks of the default are
    // removed.
    [[nodiscard]] std::string ReadString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue, std::size_t bufferSize) const;

private:
    struct Contents;  // what the platform keeps of the file
    std::unique_ptr<Contents> contents_;
};

// One value of the INI file `path`, by the rules of ProfileFile::ReadString.
[[nodiscard]] inline std::string ReadProfileString(std::string_view path, std::string_view section,
                                                   std::string_view key, std::string_view defaultValue,
                                                   std::size_t bufferSize) {
    return ProfileFile(path).ReadString(section, key, defaultValue, bufferSize);
}

// An INI text (LF or CR LF lines) parsed once: the POSIX layer's parser, which ProfileFile uses
// there; Windows asks the system instead. Lines starting with ";" are comments; key lines before
// the first section belong to no section; of sections with the same name only the first is
// searched.
class ProfileIndex {
public:
    explicit ProfileIndex(std::string_view iniText);

    // The value of `key` in `section`, blanks and one pair of enclosing quotes removed and not
    // cut; nothing when the section or the key is missing.
    [[nodiscard]] std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

private:
    // Lower-case section name → lower-case key → value.
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> sections_;
};

// ProfileIndex(iniText).Find(section, key), for one look-up.
[[nodiscard]] std::optional<std::string> FindProfileValue(std::string_view iniText, std::string_view section,
                                                          std::string_view key);

}  // namespace vivo::platform
