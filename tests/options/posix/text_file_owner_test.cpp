// Replacing Upgrade.txt as an ordinary user, whom file permissions stop (root they do not): a child
// process runs as "nobody" when the tests run as root.
#include "options/text_file.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "platform/file_system.h"
#include "support/plugin.h"

namespace vivo {
namespace {

namespace fs = std::filesystem;
constexpr uid_t kNobody = 65534;

// Runs `work` in a child process as an ordinary user; the child's exit code.
int AsOrdinaryUser(const std::function<int()>& work) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(99);
        ::_exit(work());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(TextFileAsUser, ReplacesAReadOnlyFileOfTheirOwn) {
    test::TempDir dir;
    const fs::path file = dir.Write("Upgrade.txt", "an older, longer report");
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(file.c_str(), kNobody, kNobody), 0);
    }
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(AsOrdinaryUser([&] { return WriteTextFile(file.string(), "new\n", platform::kAttributeArchive); }),
              kTextFileWritten);
    EXPECT_EQ(test::ReadBytes(file), "new\r\n");
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0644));
}

// Written, but its attributes cannot be set: the file is not the user's own.
TEST(TextFileAsUser, ReportsAttributesTheyCannotSet) {
    EXPECT_EQ(AsOrdinaryUser([] { return WriteTextFile("\\dev\\null", "x\n", platform::kAttributeArchive); }),
              kTextFileIncomplete);
}

}  // namespace
}  // namespace vivo
