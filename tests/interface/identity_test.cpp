// The identity exports as the host sees them, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "support/plugin.h"

namespace vivo::test {
namespace {

constexpr char kGuard = '\x5A';
constexpr std::size_t kGuardBytes = 8;

using BufferExport = int32_t (*)(char*, int32_t*);

struct Outcome {
    int32_t result;
    int32_t len;
    std::string written;  // the buffer's first `capacity` bytes
    bool guardIntact;
};

// Calls a buffer export with `capacity` bytes and guard bytes behind them.
Outcome CallWithCapacity(BufferExport fn, int32_t capacity) {
    std::vector<char> buffer(static_cast<std::size_t>(capacity) + kGuardBytes, kGuard);
    int32_t len = capacity;
    Outcome out{};
    out.result = fn(buffer.data(), &len);
    out.len = len;
    out.written.assign(buffer.data(), static_cast<std::size_t>(capacity));
    out.guardIntact = std::all_of(buffer.end() - kGuardBytes, buffer.end(), [](char c) { return c == kGuard; });
    return out;
}

// Checks one newline-list export at the capacities around its exact size.
void ExpectNewlineListDelivery(BufferExport fn, const std::string& expected) {
    const int32_t size = static_cast<int32_t>(expected.size());
    for (int32_t capacity : {0, size - 1, size, size + 1}) {
        SCOPED_TRACE("capacity " + std::to_string(capacity));
        const Outcome out = CallWithCapacity(fn, capacity);
        EXPECT_TRUE(out.guardIntact);
        EXPECT_EQ(out.len, size);
        if (capacity < size) {
            EXPECT_EQ(out.result, 1);
            EXPECT_EQ(out.written, std::string(static_cast<std::size_t>(capacity), kGuard)) << "written on failure";
        } else {
            EXPECT_EQ(out.result, 0);
            EXPECT_EQ(out.written.substr(0, expected.size()), expected);
            EXPECT_EQ(out.written.substr(expected.size()), std::string(capacity - size, kGuard));
        }
    }
}

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
    Plugin plugin(BuiltPluginFile());
    uint32_t major = 0, minor = 0, ordinal = 0, answer = 9;
    ASSERT_EQ(VIVO_CALL_EXPORT(plugin, GetDLLInterfaceVersion)(&major, &minor), 0);
    EXPECT_EQ(major, 2u);
    EXPECT_EQ(minor, 6u);
    ASSERT_EQ(VIVO_CALL_EXPORT(plugin, GetDLLOrdinalVersion)(&ordinal), 0);
    EXPECT_EQ(ordinal, 29u);
    EXPECT_EQ(VIVO_CALL_EXPORT(plugin, IsCommandLineExecutionSupported)("Veltora Bindex", &answer), 0);
    EXPECT_EQ(answer, 0u);
}

TEST(Identity, NewlineListsAtEveryCapacityAroundTheirSize) {
    Plugin plugin(BuiltPluginFile());
    struct Row {
        const char* name;
        BufferExport fn;
        std::string expected;
    };
    const Row rows[] = {
        {"product version", VIVO_CALL_EXPORT(plugin, GetDLLProductVersion), std::string("4.09.00\0", 8)},
        {"plug-in type", VIVO_CALL_EXPORT(plugin, GetDLLType), std::string("Toolchain\0", 10)},
        {"file types", VIVO_CALL_EXPORT(plugin, GetSupportedFileExtensions), kFileTypes},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ExpectNewlineListDelivery(row.fn, row.expected);
    }
}

TEST(Identity, FileTypeListHas27Lines) {
    int lines = 0;
    for (std::size_t pos = 0; kFileTypes[pos] != '\0'; pos = kFileTypes.find('\0', pos) + 1) ++lines;
    EXPECT_EQ(lines, 27);
}

// A fresh copy of the plug-in with the given TC.ini text beside it (none for a null text).
struct TemplatesCase {
    const char* name;
    const char* iniText;  // null: no TC.ini
    std::string expected;
    int32_t size;  // what the export reports
};

TEST(Identity, TemplatesFromTheIniBesideThePlugin) {
    const TemplatesCase cases[] = {
        {"two entries, third key missing", "[GetTemplates]\n1=A\n2=BC\n", std::string("A\0BC\0\0", 6), 6},
        {"CR LF lines", "[GetTemplates]\r\n1=A\r\n2=BC\r\n", std::string("A\0BC\0\0", 6), 6},
        {"lower-case false is an entry", "[GetTemplates]\n1=false\n2=False\n3=X\n", std::string("false\0\0", 7), 7},
        {"an empty value ends the list", "[GetTemplates]\n1=A\n2=\n3=B\n", std::string("A\0\0", 3), 3},
        {"an escaped NUL inside an entry counts twice", "[GetTemplates]\n1=A\\0B\n", std::string("A\0B\0\0", 5), 6},
        {"other escapes decode and shrink the text", "[GetTemplates]\n1=a\\tb\n", std::string("a\tb\0\0", 5), 6},
        {"no section", "[Other]\n1=A\n", std::string("\0", 1), 1},
        {"empty file", "", std::string("\0", 1), 1},
        {"no file", nullptr, std::string("\0", 1), 1},
    };
    for (const TemplatesCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        if (c.iniText != nullptr) dir.Write("TC.ini", c.iniText);
        Plugin plugin(CopyPluginInto(dir));
        auto fn = VIVO_CALL_EXPORT(plugin, GetTemplates);
        const Outcome small = CallWithCapacity(fn, c.size - 1);
        EXPECT_EQ(small.result, 1);
        EXPECT_EQ(small.len, c.size);
        EXPECT_EQ(small.written, std::string(static_cast<std::size_t>(c.size - 1), kGuard));
        EXPECT_TRUE(small.guardIntact);
        const Outcome exact = CallWithCapacity(fn, c.size);
        EXPECT_EQ(exact.result, 0);
        EXPECT_EQ(exact.len, c.size);
        EXPECT_EQ(exact.written.substr(0, c.expected.size()), c.expected);
        EXPECT_TRUE(exact.guardIntact);
    }
}

TEST(Identity, UnreadableIniGivesTheEmptyTemplateList) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "TC.ini");  // a folder cannot be read as a file
    Plugin plugin(CopyPluginInto(dir));
    const Outcome out = CallWithCapacity(VIVO_CALL_EXPORT(plugin, GetTemplates), 1);
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.len, 1);
    EXPECT_EQ(out.written, std::string("\0", 1));
    EXPECT_TRUE(out.guardIntact);
}

TEST(Identity, ShippedTemplatesAreDelivered) {
    Plugin plugin(BuiltPluginFile());
    const Outcome out = CallWithCapacity(VIVO_CALL_EXPORT(plugin, GetTemplates), 4096);
    ASSERT_EQ(out.result, 0);
    const std::string list = out.written.substr(0, static_cast<std::size_t>(out.len));
    EXPECT_EQ(list.rfind("KZ C Application|", 0), 0u);
    EXPECT_EQ(list.substr(list.size() - 2), std::string("\0\0", 2));
}

}  // namespace
}  // namespace vivo::test
