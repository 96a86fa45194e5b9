#include "upgrade_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <functional>
#include <thread>

namespace vivo::host {
namespace {

// A private folder holding the pipe "Upgrade.txt"; removed again, also on Ctrl+C.
class PipeFolder {
public:
    PipeFolder() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/vivo-summary-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) throw Failure("cannot make a folder for the report: " + Reason());
        folder_ = pattern;
        folderSlot_ = RegisterTemporary(folder_, true);
        pipe_ = folder_ + "/Upgrade.txt";
        if (::mkfifo(pipe_.c_str(), 0600) != 0) throw Failure("cannot make a pipe for the report: " + Reason());
        pipeSlot_ = RegisterTemporary(pipe_, false);
    }
    ~PipeFolder() {
        ::unlink(pipe_.c_str());
        ::rmdir(folder_.c_str());
        ReleaseTemporary(pipeSlot_);
        ReleaseTemporary(folderSlot_);
    }
    const std::string& folder() const { return folder_; }
    const std::string& pipe() const { return pipe_; }

private:
    static std::string Reason() { return std::strerror(errno); }
    std::string folder_, pipe_;
    int folderSlot_ = -1, pipeSlot_ = -1;
};

// Runs `display` (which may write the pipe) while a thread hands what arrives to `sink`; returns the
// number of bytes that arrived.
std::size_t Collect(const std::string& pipe, const std::function<void()>& display,
                    const std::function<void(std::string_view)>& sink) {
    std::size_t received = 0;
    std::exception_ptr failure;
    std::atomic<bool> finished{false};
    std::thread reader([&] {
        const int fd = ::open(pipe.c_str(), O_RDONLY | O_CLOEXEC);  // waits for a writer
        if (fd < 0) {
            finished = true;
            return;
        }
        char buffer[65536];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) break;
            received += static_cast<std::size_t>(got);
            if (!failure) {
                try {
                    sink(std::string_view(buffer, static_cast<std::size_t>(got)));
                } catch (...) {
                    failure = std::current_exception();  // read on, so that the plug-in is not blocked
                }
            }
        }
        ::close(fd);
        finished = true;
    });
    // The plug-in has closed the file if it wrote one; a reader still waiting for a writer (or about to
    // wait) gets an empty end. Opening fails until the reader has opened its side.
    const auto release = [&] {
        while (!finished) {
            const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd >= 0) {
                ::close(fd);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        reader.join();
    };
    try {
        display();
    } catch (...) {
        release();
        throw;
    }
    release();
    if (failure) std::rethrow_exception(failure);
    return received;
}

}  // namespace

SummaryOutcome ShowSummary(LoadedPlugin& plugin, const std::string& projectName, AtomicFile& upgradeFile) {
    const auto display = VIVO_EXPORT(plugin, DisplaySummaryInformation);
    const bool interactive = ::isatty(STDIN_FILENO) && ::isatty(STDERR_FILENO);
    PipeFolder folder;
    const std::size_t written = Collect(
        folder.pipe(), [&] { display(projectName.c_str(), folder.folder().c_str()); },
        [&](std::string_view bytes) { upgradeFile.Write(bytes); });
    if (written != 0) return SummaryOutcome::kWritten;
    // Without a terminal the dialog confirms with the box as a new process has it: ticked.
    if (!interactive) throw Failure("the plug-in did not write Upgrade.txt");
    // Nothing written: the box was cleared, or the dialog was cancelled, which leaves the box as it
    // was. A second display, confirmed at once without a terminal, tells which: it writes only when
    // the box is still ticked.
    return CaptureSummary(plugin, projectName).empty() ? SummaryOutcome::kDeclined : SummaryOutcome::kCancelled;
}

std::string CaptureSummary(LoadedPlugin& plugin, const std::string& projectName) {
    const auto display = VIVO_EXPORT(plugin, DisplaySummaryInformation);
    PipeFolder folder;
    QuietStandardStreams quiet;
    std::string text;
    Collect(folder.pipe(), [&] { display(projectName.c_str(), folder.folder().c_str()); },
            [&](std::string_view bytes) { text.append(bytes); });
    return text;
}

}  // namespace vivo::host
