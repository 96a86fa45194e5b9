#include "platform/private_profile.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>

#include "support/plugin.h"

namespace vivo::platform {
namespace {

std::string WithCrLf(std::string_view text) {
    std::string result;
    for (char c : text) {
        if (c == '\n') result.push_back('\r');
        result.push_back(c);
    }
    return result;
}

struct LookupRow {
    const char* name;
    const char* ini;  // LF line ends; every row also runs with CR LF
    const char* section;
    const char* key;
    const char* expected;  // nullptr: missing
};

constexpr std::array kLookupRows = {
    LookupRow{"plain", "[S]\nK=V\n", "S", "K", "V"},
    LookupRow{"blanks around key and value", "[S]\n  K \t=  V x \t\n", "S", "K", "V x"},
    LookupRow{"double quotes removed", "[S]\nK= \"  a b \" \n", "S", "K", "  a b "},
    LookupRow{"single quotes removed", "[S]\nK='x'\n", "S", "K", "x"},
    LookupRow{"one pair of quotes only", "[S]\nK=\"\"x\"\"\n", "S", "K", "\"x\""},
    LookupRow{"unmatched quotes kept", "[S]\nK=\"x'\n", "S", "K", "\"x'"},
    LookupRow{"lone quote kept", "[S]\nK=\"\n", "S", "K", "\""},
    LookupRow{"empty quotes give empty", "[S]\nK=\"\"\n", "S", "K", ""},
    LookupRow{"empty value", "[S]\nK=\nJ=1\n", "S", "K", ""},
    LookupRow{"blank value", "[S]\nK=   \n", "S", "K", ""},
    LookupRow{"equals inside value", "[S]\nK=a=b\n", "S", "K", "a=b"},
    LookupRow{"semicolon inside value", "[S]\nK=a ; b\n", "S", "K", "a ; b"},
    LookupRow{"no final line end", "[S]\nK=last", "S", "K", "last"},
    LookupRow{"missing key", "[S]\nJ=1\n", "S", "K", nullptr},
    LookupRow{"missing section", "[T]\nK=1\n", "S", "K", nullptr},
    LookupRow{"key of another section", "[A]\nK=1\n[S]\nJ=2\n", "S", "K", nullptr},
    LookupRow{"section and key in any case", "[SeCtIoN]\nkEy=v\n", "section", "KEY", "v"},
    LookupRow{"blanks inside brackets", "  [ S ]  \nK=1\n", "S", "K", "1"},
    LookupRow{"first key wins", "[S]\nk=1\nK=2\n", "S", "K", "1"},
    LookupRow{"first section wins", "[S]\nA=1\n[s]\nK=2\n", "S", "K", nullptr},
    LookupRow{"comment line", "[S]\n;K=1\nK=2\n", "S", "K", "2"},
    LookupRow{"indented comment line", "[S]\n  ; K=1\nK=2\n", "S", "K", "2"},
    LookupRow{"commented section header", ";[S]\nK=1\n[S]\nJ=2\n", "S", "K", nullptr},
    LookupRow{"line without equals skipped", "[S]\nK\nK=2\n", "S", "K", "2"},
    LookupRow{"key before any section", "K=1\n[S]\nK=2\n", "S", "K", "2"},
    LookupRow{"key only before any section", "K=1\n[S]\nJ=2\n", "S", "K", nullptr},
    LookupRow{"byte-order mark before first section", "\xEF\xBB\xBF[S]\nK=1\n", "S", "K", "1"},
    LookupRow{"empty text", "", "S", "K", nullptr},
};

TEST(PosixProfile, FindsValuesByTheSystemRules) {
    for (const auto& row : kLookupRows) {
        for (const bool crLf : {false, true}) {
            SCOPED_TRACE(std::string(row.name) + (crLf ? " (CR LF)" : " (LF)"));
            const std::string text = crLf ? WithCrLf(row.ini) : std::string(row.ini);
            const auto value = FindProfileValue(text, row.section, row.key);
            if (row.expected == nullptr) {
                EXPECT_EQ(value, std::nullopt);
            } else {
                EXPECT_EQ(value, std::optional<std::string>(row.expected));
            }
        }
    }
}

struct ReadRow {
    const char* name;
    const char* ini;
    const char* key;
    const char* defaultValue;
    std::size_t bufferSize;
    const char* expected;
};

constexpr std::array kReadRows = {
    ReadRow{"fits exactly", "[S]\r\nK=abcdef\r\n", "K", "d", 7, "abcdef"},
    ReadRow{"cut to size - 1", "[S]\r\nK=abcdef\r\n", "K", "d", 4, "abc"},
    ReadRow{"quotes removed before the cut", "[S]\r\nK=\"abcdef\"\r\n", "K", "d", 4, "abc"},
    ReadRow{"size one gives empty", "[S]\r\nK=abc\r\n", "K", "d", 1, ""},
    ReadRow{"size zero gives empty", "[S]\r\nK=abc\r\n", "K", "d", 0, ""},
    ReadRow{"default for a missing key", "[S]\r\nK=abc\r\n", "J", "dflt", 260, "dflt"},
    ReadRow{"trailing blanks of the default removed", "[S]\r\n", "J", " d f  ", 260, " d f"},
    ReadRow{"default cut as well", "[S]\r\n", "J", "dflt", 3, "df"},
    ReadRow{"empty value is not the default", "[S]\r\nK=\r\n", "K", "dflt", 260, ""},
};

TEST(PosixProfile, ReadsThroughABufferOfTheGivenSize) {
    test::TempDir dir;
    for (const auto& row : kReadRows) {
        SCOPED_TRACE(row.name);
        const auto file = dir.Write("TC.ini", row.ini);
        EXPECT_EQ(ReadProfileString(file.string(), "s", row.key, row.defaultValue, row.bufferSize),
                  row.expected);
    }
}

TEST(PosixProfile, FindsTheFileByAnyCaseAndBackslashes) {
    test::TempDir dir;
    dir.Write("TC.ini", "[S]\nK=found\n");
    std::string path = dir.path().string() + "\\tc.INI";
    EXPECT_EQ(ReadProfileString(path, "S", "K", "dflt", 260), "found");
    EXPECT_EQ(ReadProfileString(dir.path().string() + "\\Missing.ini", "S", "K", "dflt", 260),
              "dflt");
}

}  // namespace
}  // namespace vivo::platform
