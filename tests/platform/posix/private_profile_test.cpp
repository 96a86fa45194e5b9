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

}  // namespace
}  // namespace vivo::platform
