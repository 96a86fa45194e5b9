#include "platform/private_profile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/plugin.h"

namespace vivo::platform {
namespace {

TEST(PosixProfile, FindsValuesByTheSystemRules) {
    // Columns: name, file text (LF line ends; every row also runs with CR LF), section, key, value (null: missing).
    const struct { const char* name; const char* ini; const char* section; const char* key; const char* expected; } rows[] = {
        {"plain", "[S]\nK=V\n", "S", "K", "V"},
        {"blanks around key and value", "[S]\n  K \t=  V x \t\n", "S", "K", "V x"},
        {"double quotes removed", "[S]\nK= \"  a b \" \n", "S", "K", "  a b "},
        {"one pair of quotes only", "[S]\nK=\"\"x\"\"\n", "S", "K", "\"x\""},
        {"unmatched quotes kept", "[S]\nK=\"x'\n", "S", "K", "\"x'"},
        {"empty quotes give empty", "[S]\nK=\"\"\n", "S", "K", ""},
        {"empty value", "[S]\nK=\nJ=1\n", "S", "K", ""},
        {"equals inside value", "[S]\nK=a=b\n", "S", "K", "a=b"},
        {"no final line end", "[S]\nK=last", "S", "K", "last"},
        {"missing key", "[S]\nJ=1\n", "S", "K", nullptr},
        {"missing section", "[T]\nK=1\n", "S", "K", nullptr},
        {"section and key in any case", "[SeCtIoN]\nkEy=v\n", "section", "KEY", "v"},
        {"blanks inside brackets", "  [ S ]  \nK=1\n", "S", "K", "1"},
        {"first key wins", "[S]\nk=1\nK=2\n", "S", "K", "1"},
        {"first section wins", "[S]\nA=1\n[s]\nK=2\n", "S", "K", nullptr},
        {"comment line", "[S]\n;K=1\nK=2\n", "S", "K", "2"},
        {"comment line is no key", "[S]\n;K=1\n", "S", ";K", nullptr},
        {"commented section header", ";[S]\nK=1\n[S]\nJ=2\n", "S", "K", nullptr},
        {"line without equals skipped", "[S]\nK\nK=2\n", "S", "K", "2"},
        {"key before any section", "K=1\n[S]\nK=2\n", "S", "K", "2"},
        {"byte-order mark before first section", "\xEF\xBB\xBF[S]\nK=1\n", "S", "K", "1"},
        {"empty text", "", "S", "K", nullptr},
    };
    for (const auto& row : rows) {
        for (const bool crLf : {false, true}) {
            SCOPED_TRACE(std::string(row.name) + (crLf ? " (CR LF)" : " (LF)"));
            std::string text;
            for (const char* c = row.ini; *c != '\0'; ++c) text += crLf && *c == '\n' ? "\r\n" : std::string(1, *c);
            const auto value = FindProfileValue(text, row.section, row.key);
            EXPECT_EQ(value, row.expected ? std::optional<std::string>(row.expected) : std::nullopt);
        }
    }
}

TEST(PosixProfile, ReadsThroughABufferOfTheGivenSize) {
    // Columns: name, text of TC.ini (null: no file), key of section "s", default, buffer size, text read. The
    // file is named "tc.INI" below a folder written with backslashes.
    const struct { const char* name; const char* ini; const char* key; const char* defaultValue; std::size_t bufferSize;
                   const char* expected; } rows[] = {
        {"fits exactly", "[S]\r\nK=abcdef\r\n", "K", "d", 7, "abcdef"},
        {"cut to size - 1", "[S]\r\nK=abcdef\r\n", "K", "d", 4, "abc"},
        {"quotes removed before the cut", "[S]\r\nK=\"abcdef\"\r\n", "K", "d", 4, "abc"},
        {"size one gives empty", "[S]\r\nK=abc\r\n", "K", "d", 1, ""},
        {"size zero gives empty", "[S]\r\nK=abc\r\n", "K", "d", 0, ""},
        {"default for a missing key", "[S]\r\nK=abc\r\n", "J", "dflt", 260, "dflt"},
        {"trailing blanks of the default removed", "[S]\r\n", "J", " d f  ", 260, " d f"},
        {"empty value is not the default", "[S]\r\nK=\r\n", "K", "dflt", 260, ""},
        {"default for a missing file", nullptr, "K", "dflt", 260, "dflt"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        test::TempDir dir;
        if (row.ini != nullptr) dir.Write("TC.ini", row.ini);
        const std::string file = dir.path().string() + "\\tc.INI";
        EXPECT_EQ(ReadProfileString(file, "s", row.key, row.defaultValue, row.bufferSize), row.expected);
    }
}

}  // namespace
}  // namespace vivo::platform
