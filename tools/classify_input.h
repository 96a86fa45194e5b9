#pragma once
// What `vivo classify` reads: a build log line by line, as it arrives, and its text made UTF-8.

#include <iconv.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vivo::host {

// A build log read in blocks, one line at a time: memory holds one block and, for a line longer than
// what is left of the block, that one line. A UTF-8 byte-order mark at the start is skipped; CR LF,
// LF and a CR alone each end a line. A line that does not fit in memory, or a failed read, is an
// error (Failure), never the end of the log.
class LogReader {
public:
    // "-" is standard input. A named log must be a readable regular file or a pipe.
    explicit LogReader(const std::string& path);
    ~LogReader();
    LogReader(const LogReader&) = delete;
    LogReader& operator=(const LogReader&) = delete;

    // The next line, without its end and followed by a NUL, valid until the next call; false at the
    // end of the log.
    bool Next(std::string_view& line);
    std::size_t lineNumber() const { return lines_; }
    const std::string& name() const { return name_; }
    bool standardInput() const { return fd_ == 0; }

private:
    void Read(std::size_t keep);  // reads the next block after the first `keep` bytes of this one
    int fd_ = 0;
    std::string name_;
    std::vector<char> block_;
    std::size_t pos_ = 0, end_ = 0;
    std::string long_;          // a line that runs over the end of the block, gathered here
    bool gathering_ = false;
    bool lfBelongsToCr_ = false;  // the last line ended with a CR at the end of a block
    bool started_ = false;
    bool ended_ = false;
    std::size_t lines_ = 0;
};

// Text of a log in its encoding, made UTF-8: "utf-8" (the default), "shift_jis" (Windows' code page
// 932, as Japanese Windows prints it) or "latin1", converted by iconv. A byte that is not a character
// of the encoding is written as the four characters \xNN.
class TextDecoder {
public:
    explicit TextDecoder(const std::string& encoding);
    ~TextDecoder();
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;

    std::string operator()(std::string_view bytes) const;
    // Whether every ASCII byte is a character of its own (not so in Shift_JIS, where the second byte
    // of a character may be a backslash).
    bool asciiSafe() const { return !shiftJis_; }

private:
    iconv_t convert_;
    bool utf8_ = false;
    bool shiftJis_ = false;
};

// The encodings --encoding takes.
const std::vector<std::string>& Encodings();

}  // namespace vivo::host
