#include "options/paths.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace vivo {
namespace {

TEST(SplitPath, SplitsDirectoryBaseNameAndExtension) {
    struct Row { const char* name; std::string_view path; std::string_view directory, baseName, extension; };
    constexpr Row kRows[] = {
        {"drive and directory", "C:\\proj\\main.c", "C:\\proj\\", "main", ".c"},
        {"file in the root", "C:\\b.c", "C:\\", "b", ".c"},
        {"rooted, no drive", "\\a\\b.c", "\\a\\", "b", ".c"},
        {"last dot wins", "C:\\a\\b.tar.gz", "C:\\a\\", "b.tar", ".gz"},
        {"dot in a directory only", "C:\\a.d\\file", "C:\\a.d\\", "file", ""},
        {"blank after the dot: no extension", "C:\\a\\b.x y", "C:\\a\\", "b.x y", ""},
        {"trailing dot", "x\\name.", "x\\", "name", "."},
        {"dot file", "x\\.profile", "x\\", "", ".profile"},
        {"directory only", "C:\\a\\", "C:\\a\\", "", ""},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        const SplitPathResult split = SplitPath(row.path);
        EXPECT_EQ(split.directory + "|" + split.baseName + "|" + split.extension,
                  std::string(row.directory) + "|" + std::string(row.baseName) + "|" + std::string(row.extension));
    }
    // Outputs left alone where the rules say so.
    std::string directory = "d", baseName = "b", extension = "e";
    SplitPath("", directory, baseName, extension);
    EXPECT_EQ(directory + "|" + baseName + "|" + extension, "d|b|e");

    // "C:b.c": the directory "C:\" does not occur in the path, so only the directory is set.
    SplitPath("C:b.c", directory, baseName, extension);
    EXPECT_EQ(directory + "|" + baseName + "|" + extension, "C:\\|b|e");
}

TEST(BuildPath, JoinsDirectoryNameAndExtension) {
    struct Row { const char* name; std::string_view directory, baseName, extension; std::string_view expected; };
    constexpr Row kRows[] = {
        {"leading dot kept", ".\\out", "main", "obj", ".\\out\\main.obj"},
        {"leading dot-dot kept", "..\\out", "main", "obj", "..\\out\\main.obj"},
        {"lone dot", ".", "main", "obj", ".\\main.obj"},
        {"dot-dot inside resolved", "C:\\a\\..\\b", "f", ".lst", "C:\\b\\f.lst"},
        {"dot inside resolved", "C:\\a\\.\\b", "f", "lst", "C:\\a\\b\\f.lst"},
        {"empty extension", "C:\\out", "main", "", "C:\\out\\main"},
        {"directory with backslash", "C:\\out\\", "main", "obj", "C:\\out\\main.obj"},
        {"empty directory", "", "main", "obj", "main.obj"},
        {"name with extension keeps it", "C:\\out", "file.c", "obj", "C:\\out\\file.c.obj"},
        {"plain build keeps dot-dot", "C:\\a\\..\\b", "file.c", "obj", "C:\\a\\..\\b\\file.c.obj"},
        {"guarded plain build", ".\\out", "file.c", "obj", ".\\out\\file.c.obj"},
        {"dot in directory is no extension", "C:\\a.b", "file", "obj", "C:\\a.b\\file.obj"},
        {"leading separators of the name dropped", "C:\\out", "\\\\f", "obj", "C:\\out\\f.obj"},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(BuildPath(row.directory, row.baseName, row.extension), row.expected);
    }
    // 258 + "\" + "f" = 260 characters: too long for the join, so ".." stays unresolved.
    const std::string directory = "C:\\x\\..\\" + std::string(250, 'd');
    ASSERT_EQ(directory.size(), 258u);
    EXPECT_EQ(BuildPath(directory, "f", "obj"), directory + "\\f.obj");
    // One character shorter joins (259) and resolves.
    EXPECT_EQ(BuildPath(directory.substr(0, 257), "f", "ob"), "C:\\" + std::string(249, 'd') + "\\f.ob");
}

TEST(CanonicalizeIfAbsolute, ChangesAbsolutePathsOnly) {
    struct Row { const char* name; std::string_view path; std::string_view expected; };
    constexpr Row kRows[] = {
        {"relative dot-dot unchanged", "..\\x", "..\\x"},
        {"dot removed", "C:\\a\\.\\b", "C:\\a\\b"},
        {"dot-dot removes one", "C:\\a\\b\\..\\c", "C:\\a\\c"},
        {"documented mix", "A:\\name_1\\.\\name_2\\.\\name_3\\..\\name_4\\..", "A:\\name_1\\name_2"},
        {"root cannot be removed", "C:\\a\\..\\..\\..\\b", "C:\\b"},
        {"climb to the root", "C:\\a\\..", "C:\\"},
        {"rooted without drive", "\\a\\..\\b", "\\b"},
        {"network root cannot be removed", "\\\\..\\x", "\\\\x"},
        {"trailing backslash kept", "C:\\a\\b\\", "C:\\a\\b\\"},
        {"drive-relative", "C:a\\..\\b", "C:b"},
        {"dotted names are names", "C:\\a\\...\\x.\\y", "C:\\a\\...\\x.\\y"},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        std::string path(row.path);
        CanonicalizeIfAbsolute(path);
        EXPECT_EQ(path, row.expected);
    }
    std::string tooLong = "C:\\a\\..\\" + std::string(300, 'n');  // kept as it is
    CanonicalizeIfAbsolute(tooLong);
    EXPECT_EQ(tooLong, "C:\\a\\..\\" + std::string(300, 'n'));
}

TEST(Canonicalize, ResolvesRelativePathsAsTheShellDoes) {
    struct Row { const char* name; std::string_view path; std::optional<std::string_view> expected; };  // nothing: too long
    const std::string longest(kMaxPath - 1, 'n');
    const Row kRows[] = {
        {"plain relative", "a\\b", "a\\b"},
        {"leading dot-dot becomes a root", "..\\a\\b", "\\a\\b"},
        {"leading dot becomes a root", ".\\a", "\\a"},
        {"climbing past the start later", "a\\..\\..\\b", "\\b"},
        {"nothing left", "a\\..", "\\"},
        {"empty path", "", "\\"},
        {"empty path without storage", std::string_view{}, "\\"},
        {"lone dot", ".", "\\"},
        {"empty steps kept", "a\\\\b\\", "a\\\\b\\"},
        {"rest moved over removed components", "\\0123456789abcdef\\.\\0123456789\\..\\y", "\\0123456789abcdef\\y"},
        {"longest that fits", longest, longest},
        {"one too long", longest + "n", std::nullopt},
    };
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.name);
        std::array<char, kMaxPath> buffer;
        EXPECT_EQ(Canonicalize(row.path, buffer), row.expected);
    }
}

}  // namespace
}  // namespace vivo
