#pragma once
// What the host reads and writes: input files read whole (regular files only), standard output with
// every write checked, and output files that appear whole or not at all.

#include <cstdarg>
#include <filesystem>
#include <string>
#include <string_view>

namespace vivo::host {

namespace fs = std::filesystem;

// The bytes of a regular file; `what` names it in the error ("project file", "option file").
std::string ReadWholeFile(const fs::path& path, std::string_view what);

// Standard output, every write checked: a failed write (a full disk, a closed pipe) throws Failure.
void Out(std::string_view text);
void OutF(const char* format, ...) __attribute__((format(printf, 1, 2)));
void FlushOut();

// printf into a string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Ctrl+C (SIGINT) and SIGTERM remove every temporary file not yet committed and end the program
// with exit code 130 (143 for SIGTERM). A file size limit makes writes fail instead of killing.
void InstallInterruptHandlers();

// Paths that Ctrl+C removes (a file, or an empty folder after the files) until released.
int RegisterTemporary(const std::string& path, bool folder);
void ReleaseTemporary(int slot);

// Refuses an output file that cannot be written as asked: a directory, a missing or unwritable
// folder, or (unless `overwrite`) a file that is there already. Called before anything is written.
void CheckOutputPath(const fs::path& target, bool overwrite, std::string_view what);

// A file written beside its target under an unpredictable name, created exclusively (never through a
// link), and renamed over the target by Commit() after it was flushed to disk. Not committed, it is
// removed, also on Ctrl+C.
class AtomicFile {
public:
    explicit AtomicFile(fs::path target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void Write(std::string_view bytes);
    void Commit();
    const fs::path& target() const { return target_; }
    const fs::path& temporary() const { return temporary_; }

private:
    void Discard();
    fs::path target_;
    fs::path temporary_;
    int fd_ = -1;
    int slot_ = -1;  // in the list of files Ctrl+C removes
    bool committed_ = false;
};

// Standard input and standard error on /dev/null while it lives, so that a call of the plug-in runs
// as without a terminal and says nothing; both come back after.
class QuietStandardStreams {
public:
    QuietStandardStreams();
    ~QuietStandardStreams();
    QuietStandardStreams(const QuietStandardStreams&) = delete;
    QuietStandardStreams& operator=(const QuietStandardStreams&) = delete;

private:
    int savedIn_ = -1, savedErr_ = -1;
};

// Commits several files as one step: Ctrl+C during the renames is ignored, so that the command
// completes with all of them on disk rather than some.
void CommitAll(std::initializer_list<AtomicFile*> files);

}  // namespace vivo::host
