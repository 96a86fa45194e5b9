// Include directories and defines through the exports, byte for byte.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "support/guarded_call.h"

namespace vivo::test {
namespace {

using namespace std::string_view_literals;

// Get (no list) or Set (a list) of the include directories or the defines.
int32_t Call(bool defines, const char* tool, const char* options, const std::string* list, char* b, int32_t* l) {
    Plugin& p = SharedPlugin();
    if (list != nullptr)
        return defines ? VIVO_CALL_EXPORT(p, SetDefines)(tool, options, list->c_str(), b, l)
                       : VIVO_CALL_EXPORT(p, SetIncludeFileDirectories)(tool, options, list->c_str(), b, l);
    return defines ? VIVO_CALL_EXPORT(p, GetDefines)(tool, options, b, l)
                   : VIVO_CALL_EXPORT(p, GetIncludeFileDirectories)(tool, options, b, l);
}

// Columns: name, defines?, tool, option string, the list given to Set (kGet: a Get), expected bytes (Get:
// the list; Set: the new option string without its NUL).
struct Row { const char* name; bool defines; const char* tool; const char* options; std::optional<std::string> set;
             std::string_view expected; };
constexpr bool kIncl = false, kDef = true;
const std::nullopt_t kGet = std::nullopt;

const Row kRows[] = {
    {"no item", kIncl, kCompiler, "[S|CPU|KZ600]", kGet, "\0\0"sv},
    {"empty option string", kDef, kCompiler, "", kGet, "\0\0"sv},
    {"quoted entries, blank inside", kIncl, kCompiler, "[S|CPU|KZ600] [S|INCLUDE|\"inc\"|\"C:\\My H\"]", kGet, "inc\0C:\\My H\0\0"sv},
    {"doubled quote and bracket", kIncl, kAssembler, "[S|INCLUDE|\"a\"\"b]]c\"]", kGet, "a\"b]c\0\0"sv},
    {"bar inside quotes", kIncl, kCompiler, "[S|INCLUDE|\"x|y\"|\"$(CONFIGDIR)\\z\"]", kGet, "x|y\0$(CONFIGDIR)\\z\0\0"sv},
    {"first of two items", kIncl, kCompiler, "[S|INCLUDE|\"one\"] [S|INCLUDE|\"two\"]", kGet, "one\0\0"sv},
    {"prefix must match exactly", kIncl, kCompiler, "[S|include|\"a\"] [S|INCLUDES|\"b\"]", kGet, "\0\0"sv},
    {"unquoted entry loses its ends", kIncl, kCompiler, "[S|INCLUDE|abc]", kGet, "b\0\0"sv},
    {"empty quoted entry", kIncl, kCompiler, "[S|INCLUDE|\"\"|\"d\"]", kGet, "\0d\0\0"sv},
    {"defines as they are", kDef, kCompiler, "[S|DEFINE|DEBUG|LEVEL=2]", kGet, "DEBUG\0LEVEL=2\0\0"sv},
    {"defines quoted as a whole", kDef, kAssembler, "[S|DEFINE|\"A|B=x y\"]", kGet, "A\0B=x y\0\0"sv},
    {"define quotes keep a bar", kDef, kCompiler, "[S|DEFINE|\"S=\"\"a|b\"\"|T\"]", kGet, "S=\"a|b\"\0T\0\0"sv},
    {"replaced in place", kIncl, kCompiler, "[S|CPU|KZ600] [S|INCLUDE|\"old\"] [B|DEBUG|1]", NulList({"new dir", "b"}),
     "[S|CPU|KZ600] [S|INCLUDE|\"new dir\"|\"b\"] [B|DEBUG|1]"},
    {"appended when absent", kIncl, kAssembler, "[S|CPU|KZ600]", NulList({"inc"}), "[S|CPU|KZ600] [S|INCLUDE|\"inc\"]"},
    {"into an empty option string", kIncl, kCompiler, "", NulList({"inc"}), "[S|INCLUDE|\"inc\"]"},
    {"empty list removes, separators become blanks", kIncl, kCompiler, "  [S|CPU|KZ600]\t[S|INCLUDE|\"x\"]\r\n[B|DEBUG|1] ",
     NulList({}), "[S|CPU|KZ600] [B|DEBUG|1]"},
    {"quote and bracket doubled", kIncl, kCompiler, "", NulList({"a\"b]c"}), "[S|INCLUDE|\"a\"\"b]]c\"]"},
    {"only the first of two replaced", kIncl, kCompiler, "[S|INCLUDE|\"1\"] [S|INCLUDE|\"2\"]", NulList({"x"}),
     "[S|INCLUDE|\"x\"] [S|INCLUDE|\"2\"]"},
    {"list ends at its first empty string", kIncl, kCompiler, "", std::string("a\0\0b\0\0"sv), "[S|INCLUDE|\"a\"]"},
    {"defines plain, macro text too", kDef, kCompiler, "[S|DEFINE|OLD]", NulList({"A", "B=$(P)"}), "[S|DEFINE|A|B=$(P)]"},
    {"define with blank quotes all", kDef, kCompiler, "", NulList({"A", "B C"}), "[S|DEFINE|\"A|B C\"]"},
    {"define with quotes", kDef, kAssembler, "", NulList({"S=\"v\""}), "[S|DEFINE|\"S=\"\"v\"\"\"]"},
    {"define with bracket", kDef, kCompiler, "", NulList({"X]"}), "[S|DEFINE|\"X]]\"]"},
};

TEST(IncludeDefinesExports, DeliverExactly) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        const std::string* set = row.set ? &*row.set : nullptr;
        auto call = [&](char* b, int32_t* l) { return Call(row.defines, row.tool, row.options, set, b, l); };
        if (set != nullptr) ExpectDeliversTerminated(call, row.expected);
        else ExpectDelivers(call, row.expected);
    }
}

}  // namespace
}  // namespace vivo::test
