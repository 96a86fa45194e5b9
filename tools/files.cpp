#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "host.h"

namespace vivo::host {
namespace {

std::string Reason() { return std::strerror(errno); }

// Temporary files not yet committed, as plain bytes a signal handler may read.
constexpr int kMaxTemporaries = 16;
constexpr std::size_t kMaxTemporaryPath = 4096;
std::array<std::array<char, kMaxTemporaryPath>, kMaxTemporaries> g_temporaries{};
std::array<std::atomic<bool>, kMaxTemporaries> g_temporaryInUse{};
std::array<bool, kMaxTemporaries> g_temporaryIsFolder{};
std::atomic<bool> g_committing{false};
// The terminal as the program found it: the report dialog switches it to single keys, and an
// interrupt while it is shown must not leave it so.
termios g_terminal{};
bool g_haveTerminal = false;

}  // namespace

int RegisterTemporary(const std::string& path, bool folder) {
    if (path.size() >= kMaxTemporaryPath) return -1;
    for (int i = 0; i < kMaxTemporaries; ++i) {
        if (g_temporaryInUse[i]) continue;
        std::memcpy(g_temporaries[i].data(), path.c_str(), path.size() + 1);
        g_temporaryIsFolder[i] = folder;
        g_temporaryInUse[i] = true;
        return i;
    }
    return -1;
}

void ReleaseTemporary(int slot) {
    if (slot >= 0) g_temporaryInUse[slot] = false;
}

namespace {

extern "C" void OnInterrupt(int signal) {
    if (g_committing) return;  // the last renames are under way: the command completes
    if (g_haveTerminal) ::tcsetattr(STDIN_FILENO, TCSANOW, &g_terminal);
    for (int i = 0; i < kMaxTemporaries; ++i)
        if (g_temporaryInUse[i] && !g_temporaryIsFolder[i]) ::unlink(g_temporaries[i].data());
    for (int i = 0; i < kMaxTemporaries; ++i)
        if (g_temporaryInUse[i] && g_temporaryIsFolder[i]) ::rmdir(g_temporaries[i].data());
    _exit(signal == SIGINT ? kExitInterrupted : 128 + signal);
}

void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // some file systems cannot sync a folder; the rename itself has happened
    ::close(fd);
}

std::string VFormat(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    return text;
}

[[noreturn]] void OutputFailed() {
    throw Failure("cannot write to standard output: " + Reason());
}

}  // namespace

std::string ReadWholeFile(const fs::path& path, std::string_view what) {
    const std::string name = path.string();
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw Failure("cannot read " + std::string(what) + " " + name + ": " + Reason());
    struct stat info{};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const bool directory = S_ISDIR(info.st_mode);
        ::close(fd);
        throw Failure("cannot read " + std::string(what) + " " + name + ": " +
                      (directory ? "it is a directory" : "not a regular file"));
    }
    std::string text;
    try {
        text.resize(static_cast<std::size_t>(info.st_size));
    } catch (const std::bad_alloc&) {
        ::close(fd);
        throw Failure("cannot read " + std::string(what) + " " + name + ": not enough memory for " +
                      std::to_string(info.st_size) + " bytes");
    }
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t got = ::read(fd, text.data() + done, text.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            const std::string reason = Reason();
            ::close(fd);
            throw Failure("cannot read " + std::string(what) + " " + name + ": " + reason);
        }
        if (got == 0) break;  // the file shrank while it was read
        done += static_cast<std::size_t>(got);
    }
    text.resize(done);
    ::close(fd);
    return text;
}

void Out(std::string_view text) {
    if (!text.empty() && std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) OutputFailed();
}

void OutF(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = VFormat(format, args);
    va_end(args);
    Out(text);
}

void FlushOut() {
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) OutputFailed();
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = VFormat(format, args);
    va_end(args);
    return text;
}

void InstallInterruptHandlers() {
    g_haveTerminal = ::isatty(STDIN_FILENO) && ::tcgetattr(STDIN_FILENO, &g_terminal) == 0;
    struct sigaction action{};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGXFSZ, SIG_IGN);
}

void CheckOutputPath(const fs::path& target, bool overwrite, std::string_view what) {
    const std::string name = target.string();
    struct stat info{};
    if (::lstat(name.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) throw Failure("cannot write " + std::string(what) + " " + name + ": it is a directory");
        if (!overwrite)
            throw Failure(std::string(what) + " " + name + " exists already (--force overwrites it)");
    }
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    struct stat folderInfo{};
    if (::stat(folder.c_str(), &folderInfo) != 0 || !S_ISDIR(folderInfo.st_mode))
        throw Failure("cannot write " + std::string(what) + " " + name + ": no folder " + folder.string());
    if (::access(folder.c_str(), W_OK | X_OK) != 0)
        throw Failure("cannot write " + std::string(what) + " " + name + ": folder " + folder.string() + ": " + Reason());
}

AtomicFile::AtomicFile(fs::path target) : target_(std::move(target)) {
    const fs::path folder = target_.parent_path();
    std::string pattern = (folder / ("." + target_.filename().string() + ".vivo-XXXXXX")).string();
    fd_ = ::mkostemp(pattern.data(), O_CLOEXEC);  // O_CREAT | O_EXCL: a planted link is never followed
    if (fd_ < 0) throw Failure("cannot write " + target_.string() + ": " + Reason());
    temporary_ = pattern;
    slot_ = RegisterTemporary(pattern, false);
    // The new file gets the permissions an ordinary new file would have.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
}

AtomicFile::~AtomicFile() {
    if (!committed_) Discard();
}

void AtomicFile::Discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    ReleaseTemporary(slot_);
    slot_ = -1;
}

void AtomicFile::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) throw Failure("cannot write " + target_.string() + ": " + Reason());
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void AtomicFile::Commit() {
    if (::fsync(fd_) != 0) throw Failure("cannot write " + target_.string() + ": " + Reason());
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) throw Failure("cannot write " + target_.string() + ": " + Reason());
    if (::rename(temporary_.c_str(), target_.c_str()) != 0)
        throw Failure("cannot write " + target_.string() + ": " + Reason());
    committed_ = true;
    ReleaseTemporary(slot_);
    slot_ = -1;
    SyncFolder(target_.parent_path());
}

QuietStandardStreams::QuietStandardStreams() {
    std::fflush(stderr);
    const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    savedIn_ = ::dup(STDIN_FILENO);
    savedErr_ = ::dup(STDERR_FILENO);
    if (null >= 0) {
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::close(null);
    }
}

QuietStandardStreams::~QuietStandardStreams() {
    ::dup2(savedIn_, STDIN_FILENO);
    ::dup2(savedErr_, STDERR_FILENO);
    ::close(savedIn_);
    ::close(savedErr_);
}

void CommitAll(std::initializer_list<AtomicFile*> files) {
    g_committing = true;
    try {
        for (AtomicFile* file : files)
            if (file != nullptr) file->Commit();
    } catch (...) {
        g_committing = false;
        throw;
    }
    g_committing = false;
}

}  // namespace vivo::host
