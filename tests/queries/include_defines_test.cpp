// Include directories and defines through the exports, byte for byte, and Set/Get round trips.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "queries/guarded_call.h"

namespace vivo::test {
namespace {

using namespace std::string_view_literals;

enum class Setting { kIncludes, kDefines };

int32_t CallGet(Setting s, const char* tool, const char* options, char* buffer, int32_t* len) {
    Plugin& p = SharedPlugin();
    return s == Setting::kIncludes ? VIVO_CALL_EXPORT(p, GetIncludeFileDirectories)(tool, options, buffer, len)
                                   : VIVO_CALL_EXPORT(p, GetDefines)(tool, options, buffer, len);
}

int32_t CallSet(Setting s, const char* tool, const char* options, const char* list, char* buffer, int32_t* len) {
    Plugin& p = SharedPlugin();
    return s == Setting::kIncludes
               ? VIVO_CALL_EXPORT(p, SetIncludeFileDirectories)(tool, options, list, buffer, len)
               : VIVO_CALL_EXPORT(p, SetDefines)(tool, options, list, buffer, len);
}

// Gets the list with room for exactly the answer; the answer is the bytes and the length.
std::string Get(Setting s, const char* tool, const std::string& options) {
    int32_t len = 0;
    char probe = 0;
    (void)CallGet(s, tool, options.c_str(), &probe, &len);
    const GuardedCall c = CallGuarded(len, [&](char* b, int32_t* l) { return CallGet(s, tool, options.c_str(), b, l); });
    EXPECT_EQ(c.result, 0);
    EXPECT_EQ(c.len, len);
    EXPECT_EQ(c.bytes.find_first_not_of(kFill, static_cast<size_t>(len)), std::string::npos);
    return c.bytes.substr(0, static_cast<size_t>(len));
}

struct GetRow {
    const char* name;
    Setting setting;
    const char* tool;
    const char* options;
    std::string_view list;  // the bytes the host receives
};

// Columns: name, setting, tool, option string, expected list bytes.
const GetRow kGetRows[] = {
    {"no item", Setting::kIncludes, kCompiler, "[S|CPU|KZ600]", "\0\0"sv},
    {"empty option string", Setting::kDefines, kCompiler, "", "\0\0"sv},
    {"quoted entries, blank inside", Setting::kIncludes, kCompiler,
     "[S|CPU|KZ600] [S|INCLUDE|\"inc\"|\"C:\\My Headers\"]", "inc\0C:\\My Headers\0\0"sv},
    {"doubled quote and bracket", Setting::kIncludes, kAssembler, "[S|INCLUDE|\"a\"\"b]]c\"]", "a\"b]c\0\0"sv},
    {"bar inside quotes", Setting::kIncludes, kCompiler, "[S|INCLUDE|\"x|y\"|\"$(CONFIGDIR)\\z\"]",
     "x|y\0$(CONFIGDIR)\\z\0\0"sv},
    {"first of two items", Setting::kIncludes, kCompiler, "[S|INCLUDE|\"one\"] [S|INCLUDE|\"two\"]", "one\0\0"sv},
    {"prefix must match exactly", Setting::kIncludes, kCompiler, "[S|include|\"a\"] [S|INCLUDES|\"b\"]", "\0\0"sv},
    {"unquoted entry loses its ends", Setting::kIncludes, kCompiler, "[S|INCLUDE|abc]", "b\0\0"sv},
    {"empty quoted entry", Setting::kIncludes, kCompiler, "[S|INCLUDE|\"\"|\"d\"]", "\0d\0\0"sv},
    {"defines as they are", Setting::kDefines, kCompiler, "[S|DEFINE|DEBUG|LEVEL=2]", "DEBUG\0LEVEL=2\0\0"sv},
    {"defines quoted as a whole", Setting::kDefines, kAssembler, "[S|DEFINE|\"A|B=x y\"]", "A\0B=x y\0\0"sv},
    {"define quotes keep a bar", Setting::kDefines, kCompiler, "[S|DEFINE|\"S=\"\"a|b\"\"|T\"]",
     "S=\"a|b\"\0T\0\0"sv},
    {"define with bracket", Setting::kDefines, kCompiler, "[S|DEFINE|\"X=a]]\"]", "X=a]\0\0"sv},
    {"item among other whitespace", Setting::kDefines, kCompiler, "\t[B|DEBUG|1]\r\n[S|DEFINE|A]\n", "A\0\0"sv},
};

TEST(IncludeDefinesExports, GetDeliversTheListExactly) {
    for (const GetRow& row : kGetRows) {
        SCOPED_TRACE(row.name);
        const int32_t size = static_cast<int32_t>(row.list.size());
        ExpectDelivers([&](char* b, int32_t* l) { return CallGet(row.setting, row.tool, row.options, b, l); },
                       row.list, size, size);
    }
}

struct SetRow {
    const char* name;
    Setting setting;
    const char* tool;
    const char* options;
    std::string list;        // NUL-separated input
    std::string_view result; // the new option string, without its NUL
};

// Columns: name, setting, tool, option string, input list, expected option string.
const SetRow kSetRows[] = {
    {"replaced in place", Setting::kIncludes, kCompiler, "[S|CPU|KZ600] [S|INCLUDE|\"old\"] [B|DEBUG|1]",
     NulList({"new dir", "b"}), "[S|CPU|KZ600] [S|INCLUDE|\"new dir\"|\"b\"] [B|DEBUG|1]"},
    {"appended when absent", Setting::kIncludes, kAssembler, "[S|CPU|KZ600]", NulList({"inc"}),
     "[S|CPU|KZ600] [S|INCLUDE|\"inc\"]"},
    {"into an empty option string", Setting::kIncludes, kCompiler, "", NulList({"inc"}), "[S|INCLUDE|\"inc\"]"},
    {"empty list removes, separators become blanks", Setting::kIncludes, kCompiler,
     "  [S|CPU|KZ600]\t[S|INCLUDE|\"x\"]\r\n[B|DEBUG|1] ", NulList({}), "[S|CPU|KZ600] [B|DEBUG|1]"},
    {"quote and bracket doubled", Setting::kIncludes, kCompiler, "", NulList({"a\"b]c"}),
     "[S|INCLUDE|\"a\"\"b]]c\"]"},
    {"only the first of two replaced", Setting::kIncludes, kCompiler, "[S|INCLUDE|\"1\"] [S|INCLUDE|\"2\"]",
     NulList({"x"}), "[S|INCLUDE|\"x\"] [S|INCLUDE|\"2\"]"},
    {"list ends at its first empty string", Setting::kIncludes, kCompiler, "",
     std::string("a\0\0b\0\0"sv), "[S|INCLUDE|\"a\"]"},
    {"defines plain", Setting::kDefines, kCompiler, "[S|DEFINE|OLD]", NulList({"A", "B=2"}), "[S|DEFINE|A|B=2]"},
    {"define with blank quotes all", Setting::kDefines, kCompiler, "", NulList({"A", "B C"}),
     "[S|DEFINE|\"A|B C\"]"},
    {"define with quotes", Setting::kDefines, kAssembler, "", NulList({"S=\"v\""}),
     "[S|DEFINE|\"S=\"\"v\"\"\"]"},
    {"define with bracket", Setting::kDefines, kCompiler, "", NulList({"X]"}), "[S|DEFINE|\"X]]\"]"},
    {"macro text stays plain", Setting::kDefines, kCompiler, "", NulList({"P=$(PROJECTNAME)"}),
     "[S|DEFINE|P=$(PROJECTNAME)]"},
    {"empty define list removes", Setting::kDefines, kCompiler, "[S|DEFINE|A] [S|CPU|KZ600]", NulList({}),
     "[S|CPU|KZ600]"},
};

TEST(IncludeDefinesExports, SetDeliversTheOptionStringExactly) {
    for (const SetRow& row : kSetRows) {
        SCOPED_TRACE(row.name);
        ExpectDeliversTerminated(
            [&](char* b, int32_t* l) { return CallSet(row.setting, row.tool, row.options, row.list.c_str(), b, l); },
            row.result);
    }
}

TEST(IncludeDefinesExports, OnlyCompilerAndAssemblerHaveTheSettings) {
    const char* const tools[] = {kLinker, "Veltora KZ C/C++ Library Generator", "Veltora KZ Configurator",
                                 "Notepad", ""};
    const std::string list = NulList({"x"});
    for (const char* tool : tools) {
        for (Setting s : {Setting::kIncludes, Setting::kDefines}) {
            SCOPED_TRACE(std::string(tool) + (s == Setting::kIncludes ? " includes" : " defines"));
            ExpectWritesNothing(
                [&](char* b, int32_t* l) { return CallGet(s, tool, "[S|INCLUDE|\"a\"] [S|DEFINE|A]", b, l); }, 1);
            ExpectWritesNothing(
                [&](char* b, int32_t* l) { return CallSet(s, tool, "[S|CPU|KZ600]", list.c_str(), b, l); }, 1);
        }
    }
}

TEST(IncludeDefinesExports, NullArgumentsFailBeforeAnyWork) {
    Plugin& p = SharedPlugin();
    char buffer[8] = {};
    int32_t len = 8;
    const std::string list = NulList({"x"});
    EXPECT_EQ(VIVO_CALL_EXPORT(p, GetIncludeFileDirectories)(nullptr, "", buffer, &len), 1);
    EXPECT_EQ(VIVO_CALL_EXPORT(p, GetDefines)(kCompiler, nullptr, buffer, &len), 1);
    EXPECT_EQ(VIVO_CALL_EXPORT(p, GetDefines)(kCompiler, "", nullptr, &len), 1);
    EXPECT_EQ(VIVO_CALL_EXPORT(p, GetIncludeFileDirectories)(kCompiler, "", buffer, nullptr), 1);
    EXPECT_EQ(VIVO_CALL_EXPORT(p, SetIncludeFileDirectories)(kCompiler, "", nullptr, buffer, &len), 1);
    EXPECT_EQ(VIVO_CALL_EXPORT(p, SetDefines)(kCompiler, "", list.c_str(), buffer, nullptr), 1);
    EXPECT_EQ(len, 8);
}

// Random option strings for the round trips: the other items, in order, and the separators between.
class OptionStringMaker {
public:
    explicit OptionStringMaker(std::mt19937& random) : random_(random) {}

    size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }

    std::string Separator() {
        constexpr std::string_view kSeparators[] = {" ", "  ", "\t", "\r\n", " \n\t"};
        return std::string(kSeparators[Below(std::size(kSeparators))]);
    }

    std::vector<std::string> OtherItems() {
        constexpr std::string_view kItems[] = {
            "[S|CPU|KZ600]", "[B|DEBUG|1]", "[S|OUTPUTPATH|\"$(CONFIGDIR)\\$(PROJECTNAME).lib\"]",
            "[S|LIST|\"a b]]|c\"]", "[I|PACK|1]", "[S|INCLUDEPATH|\"x\"]", "[S|DEFINES|Y]", "[N|DEPENDSCAN|1]"};
        std::vector<std::string> items;
        for (size_t n = Below(5); n > 0; --n) items.emplace_back(kItems[Below(std::size(kItems))]);
        return items;
    }

    // Text from the pieces, at least one piece.
    std::string Text(std::initializer_list<std::string_view> pieces, size_t most) {
        std::string text;
        for (size_t n = 1 + Below(most); n > 0; --n) text += *(pieces.begin() + Below(pieces.size()));
        return text;
    }

private:
    std::mt19937& random_;
};

struct Placed {
    std::string options;
    std::string before;  // the other items in front of the setting's place, joined by blanks
    std::string after;   // the other items behind it
};

void AppendWithBlank(std::string& text, const std::string& piece) {
    if (!text.empty()) text += ' ';
    text += piece;
}

// Puts `item` (which may be empty) among the other items at a random place.
Placed PlaceAmong(OptionStringMaker& make, const std::vector<std::string>& others, const std::string& item) {
    const size_t at = make.Below(others.size() + 1);
    Placed placed;
    std::vector<std::string> all = others;
    if (!item.empty()) all.insert(all.begin() + static_cast<std::ptrdiff_t>(at), item);
    placed.options = make.Below(2) ? make.Separator() : "";
    for (const std::string& piece : all) placed.options += piece + make.Separator();
    const size_t split = item.empty() ? others.size() : at;
    for (size_t i = 0; i < others.size(); ++i) AppendWithBlank(i < split ? placed.before : placed.after, others[i]);
    return placed;
}

// The result holds `before`, the new item (when there is one) and `after`, joined by single blanks.
::testing::AssertionResult OthersUnchanged(const std::string& result, const Placed& placed,
                                           std::string_view prefix, bool itemExpected) {
    std::string expectedStart = placed.before, expectedEnd = placed.after;
    if (!itemExpected) {
        std::string all = placed.before;
        if (!placed.after.empty()) AppendWithBlank(all, placed.after);
        if (result == all) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "got " << result << ", expected " << all;
    }
    if (!expectedStart.empty()) expectedStart += ' ';
    if (!expectedEnd.empty()) expectedEnd.insert(0, " ");
    if (result.size() < expectedStart.size() + expectedEnd.size() || !result.starts_with(expectedStart) ||
        !result.ends_with(expectedEnd))
        return ::testing::AssertionFailure() << "other items changed: " << result;
    const std::string item =
        result.substr(expectedStart.size(), result.size() - expectedStart.size() - expectedEnd.size());
    if (!item.starts_with(prefix) || !item.ends_with("]"))
        return ::testing::AssertionFailure() << "new item not in place: " << result;
    return ::testing::AssertionSuccess();
}

std::string SetThroughExport(Setting s, const char* tool, const std::string& options, const std::string& list) {
    int32_t len = 0;
    char probe = 0;
    (void)CallSet(s, tool, options.c_str(), list.c_str(), &probe, &len);
    const GuardedCall c =
        CallGuarded(len, [&](char* b, int32_t* l) { return CallSet(s, tool, options.c_str(), list.c_str(), b, l); });
    EXPECT_EQ(c.result, 0);
    EXPECT_TRUE(WroteExactly(c, c.bytes.substr(0, static_cast<size_t>(len))));
    EXPECT_EQ(c.bytes[static_cast<size_t>(len) - 1], '\0');
    return c.bytes.substr(0, static_cast<size_t>(len) - 1);
}

// Directories may hold anything a path can: blanks, bars, quotes, brackets, macros. A directory of
// double quotes alone cannot come back: its quotes and the enclosing ones form one run, which is
// read pairwise from the opening quote.
std::string RandomDirectory(OptionStringMaker& make) {
    std::string directory =
        make.Text({"a", "Z", "9", "_", ".", "\\", " ", "|", "\"", "]", "[", "]]", "\"\"", "$(CONFIGDIR)", ","}, 8);
    if (directory.find_first_not_of('"') == std::string::npos) directory += 'd';
    return directory;
}

// Defines may hold blanks, quotes and brackets; a bar only inside a quoted stretch of the define,
// because the bar is what separates defines and an empty define would end the host's list.
std::string RandomDefine(OptionStringMaker& make) {
    std::string define = make.Text({"A", "b", "_", "1", "=", "$(PROJECTNAME)", "]", "["}, 4);
    if (make.Below(2)) define += make.Text({" ", "x", "]"}, 3);
    if (make.Below(2)) define += "\"" + make.Text({"v", " ", "|", "]", "$(M)"}, 4) + "\"";
    return define;
}

TEST(IncludeDefinesProperty, SetThenGetGivesBackTheListAndKeepsOtherItems) {
    std::mt19937 random(20261205);
    OptionStringMaker make(random);
    for (int iteration = 0; iteration < 400; ++iteration) {
        const Setting s = iteration % 2 == 0 ? Setting::kIncludes : Setting::kDefines;
        const char* tool = make.Below(2) ? kCompiler : kAssembler;
        const std::string_view prefix = s == Setting::kIncludes ? "[S|INCLUDE|" : "[S|DEFINE|";
        std::vector<std::string> entries;
        for (size_t n = make.Below(5); n > 0; --n)
            entries.push_back(s == Setting::kIncludes ? RandomDirectory(make) : RandomDefine(make));
        const std::string oldItem = make.Below(2) ? std::string(prefix) + "\"old\"]" : "";
        const Placed placed = PlaceAmong(make, make.OtherItems(), oldItem);
        SCOPED_TRACE("iteration " + std::to_string(iteration) + ", options: " + placed.options);

        const std::string result = SetThroughExport(s, tool, placed.options, NulListOf(entries));
        EXPECT_TRUE(OthersUnchanged(result, placed, prefix, !entries.empty()));
        EXPECT_EQ(Get(s, tool, result), NulListOf(entries).append(entries.empty() ? "\0"sv : ""sv));
    }
}

}  // namespace
}  // namespace vivo::test
