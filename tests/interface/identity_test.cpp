// The identity exports as the host sees them, byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/guarded_call.h"

namespace vivo::test {
namespace {

constexpr char kFileTypesText[] =
    "C source file|TEXT|C\0C header file|TEXT|H\0Preprocessed C source file|TEXT|P\0"
    "C++ source file|TEXT|CPP|CC|CP\0C++ header file|TEXT|HPP\0Preprocessed C++ source file|TEXT|PP\0"
    "Object file|BIN|OBJ\0Assembly list file|TEXT|LST\0Assembly source file|TEXT|SRC|S\0"
    "Linkage symbol file|TEXT|FSY\0Assembly include file|TEXT|INC\0Library file|BIN|LIB\0"
    "Absolute file|BIN|ABS\0Relocatable file|BIN|REL\0Binary file|BIN|BIN\0Stack information file|BIN|SNI\0"
    "CPU information file|BIN|CPU\0S-Record file|TEXT|MOT\0Hex file|TEXT|HEX\0Linkage map file|TEXT|MAP\0"
    "Library information file|TEXT|LBP\0Optimize map file|BIN|bls\0Debug information file|BIN|DBG\0"
    "TD include object file|BIN|RTI\0Calling information file|BIN|CAL\0Rts information file|BIN|RTS\0"
    "Configuration file|TEXT|cfg\0\0";
const std::string kFileTypes(kFileTypesText, sizeof kFileTypesText - 1);

TEST(Identity, NumbersAndNames) {
    const Plugin& plugin = SharedPlugin();
    uint32_t major = 0, minor = 0, ordinal = 0, answer = 9;
    ASSERT_EQ(VIVO_CALL_EXPORT(plugin, GetDLLInterfaceVersion)(&major, &minor), 0);
    EXPECT_EQ(major, 2u);
    EXPECT_EQ(minor, 6u);
    ASSERT_EQ(VIVO_CALL_EXPORT(plugin, GetDLLOrdinalVersion)(&ordinal), 0);
    EXPECT_EQ(ordinal, 29u);
    EXPECT_EQ(VIVO_CALL_EXPORT(plugin, IsCommandLineExecutionSupported)("Veltora Bindex", &answer), 0);
    EXPECT_EQ(answer, 0u);
}

// The newline lists exactly at their size and one byte short (the protocol around it: tests of Deliver).
TEST(Identity, NewlineLists) {
    const Plugin& plugin = SharedPlugin();
    const std::pair<int32_t (*)(char*, int32_t*), std::string> rows[] = {
        {VIVO_CALL_EXPORT(plugin, GetDLLProductVersion), std::string("4.09.00\0", 8)},
        {VIVO_CALL_EXPORT(plugin, GetDLLType), std::string("Toolchain\0", 10)},
        {VIVO_CALL_EXPORT(plugin, GetSupportedFileExtensions), kFileTypes},
    };
    for (const auto& [fn, bytes] : rows) {
        SCOPED_TRACE(bytes.substr(0, 10));
        ExpectDelivers(fn, bytes);
    }
}

// A fresh copy of the plug-in with its own TC.ini. Columns: name, TC.ini (null: none; "/": a folder), the
// list, its size.
TEST(Identity, TemplatesFromTheIniBesideThePlugin) {
    struct TemplatesCase { const char *name, *iniText; std::string expected; int32_t size; };
    const TemplatesCase cases[] = {
        {"two entries, third key missing", "[GetTemplates]\n1=A\n2=BC\n", std::string("A\0BC\0\0", 6), 6},
        {"CR LF lines", "[GetTemplates]\r\n1=A\r\n2=BC\r\n", std::string("A\0BC\0\0", 6), 6},
        {"lower-case false is an entry", "[GetTemplates]\n1=false\n2=False\n3=X\n", std::string("false\0\0", 7), 7},
        {"an empty value ends the list", "[GetTemplates]\n1=A\n2=\n3=B\n", std::string("A\0\0", 3), 3},
        {"an escaped NUL inside an entry counts twice", "[GetTemplates]\n1=A\\0B\n", std::string("A\0B\0\0", 5), 6},
        {"other escapes decode and shrink the text", "[GetTemplates]\n1=a\\tb\n", std::string("a\tb\0\0", 5), 6},
        {"no section", "[Other]\n1=A\n", std::string("\0", 1), 1},
        {"no file", nullptr, std::string("\0", 1), 1},
        {"unreadable file", "/", std::string("\0", 1), 1},
    };
    for (const TemplatesCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        if (c.iniText != nullptr && *c.iniText == '/')
            std::filesystem::create_directory(dir.path() / "TC.ini");  // a folder cannot be read as a file
        else if (c.iniText != nullptr)
            dir.Write("TC.ini", c.iniText);
        Plugin plugin(CopyPluginInto(dir));
        ExpectDelivers(VIVO_CALL_EXPORT(plugin, GetTemplates), c.expected, c.size, c.size);
    }
}

TEST(Identity, ShippedTemplatesAreDelivered) {
    const std::string list = DeliveredAtItsSize(VIVO_CALL_EXPORT(SharedPlugin(), GetTemplates));
    EXPECT_TRUE(list.starts_with("KZ C Application|") && list.ends_with(std::string(2, '\0'))) << list;
}

}  // namespace
}  // namespace vivo::test
