#include "classify_input.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

#include "host.h"
#include "json_text.h"

namespace vivo::host {
namespace {

constexpr std::size_t kBlockBytes = 64 * 1024;
constexpr std::size_t kKeepLongLineCapacity = 1 << 20;  // a longer buffer is given back after its line
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Encoding {
    const char* name;
    const char* iconvName;
};
// Shift_JIS is Windows' code page 932, where 0x5C is the backslash of a path (glibc's SHIFT_JIS
// makes it a yen sign).
constexpr Encoding kEncodings[] = {{"utf-8", "UTF-8"}, {"shift_jis", "CP932"}, {"latin1", "ISO-8859-1"}};

}  // namespace

LogReader::LogReader(const std::string& path) : name_(path == "-" ? "standard input" : path) {
    if (path != "-") {
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) throw Failure("cannot read " + path + ": " + std::strerror(errno));
        struct stat info{};
        if (::fstat(fd_, &info) != 0 || !(S_ISREG(info.st_mode) || S_ISFIFO(info.st_mode))) {
            const bool directory = S_ISDIR(info.st_mode);
            ::close(fd_);
            throw Failure("cannot read " + path + ": " + (directory ? "it is a directory" : "not a regular file or a pipe"));
        }
    }
    block_.resize(kBlockBytes + 1);  // room for the NUL after a line that ends the log
}

LogReader::~LogReader() {
    if (fd_ > 0) ::close(fd_);
}

void LogReader::Read(std::size_t keep) {
    ssize_t got;
    do {
        got = ::read(fd_, block_.data() + keep, kBlockBytes - keep);
    } while (got < 0 && errno == EINTR);
    if (got < 0) throw Failure("cannot read " + name_ + ": " + std::strerror(errno));
    pos_ = 0;
    end_ = keep + static_cast<std::size_t>(got);
    ended_ = got == 0;
}

bool LogReader::Next(std::string_view& line) {
    if (!started_) {
        started_ = true;
        Read(0);
        while (end_ < kByteOrderMark.size() && !ended_) Read(end_);  // a pipe may deliver less
        if (std::string_view(block_.data(), end_).starts_with(kByteOrderMark)) pos_ = kByteOrderMark.size();
    }
    if (!gathering_ && long_.capacity() > kKeepLongLineCapacity) std::string().swap(long_);
    long_.clear();
    for (;;) {
        if (pos_ == end_) {
            if (ended_) {
                if (!gathering_) return false;
                gathering_ = false;  // the last line has no line end
                ++lines_;
                line = long_;
                return true;
            }
            Read(0);
            continue;
        }
        const char* p = block_.data() + pos_;
        const std::size_t left = end_ - pos_;
        if (lfBelongsToCr_) {
            lfBelongsToCr_ = false;
            if (*p == '\n') {
                ++pos_;
                continue;
            }
        }
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', left));
        std::size_t length = lf ? static_cast<std::size_t>(lf - p) : left;
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', length));
        if (cr) length = static_cast<std::size_t>(cr - p);
        if (!lf && !cr) {  // the line goes on in the next block
            try {
                long_.append(p, left);
            } catch (const std::bad_alloc&) {
                throw Failure("cannot read " + name_ + ": line " + std::to_string(lines_ + 1) +
                              " does not fit in memory (" + std::to_string(long_.size()) + " bytes read of it)");
            }
            gathering_ = true;
            pos_ = end_;
            continue;
        }
        std::size_t consumed = length + 1;
        if (cr) {
            if (length + 1 < left)
                consumed += p[length + 1] == '\n' ? 1 : 0;
            else
                lfBelongsToCr_ = true;
        }
        pos_ += consumed;
        ++lines_;
        if (gathering_) {
            gathering_ = false;
            long_.append(p, length);
            line = long_;
        } else {
            block_[pos_ - consumed + length] = '\0';  // over the line's end, already read
            line = std::string_view(p, length);
        }
        return true;
    }
}

const std::vector<std::string>& Encodings() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> list;
        for (const Encoding& e : kEncodings) list.emplace_back(e.name);
        return list;
    }();
    return names;
}

TextDecoder::TextDecoder(const std::string& encoding) {
    const Encoding* chosen = nullptr;
    for (const Encoding& e : kEncodings)
        if (encoding == e.name) chosen = &e;
    if (chosen == nullptr) throw Failure("unknown encoding \"" + encoding + "\"");
    utf8_ = chosen == &kEncodings[0];
    shiftJis_ = chosen == &kEncodings[1];
    convert_ = ::iconv_open("UTF-8", chosen->iconvName);
    if (convert_ == reinterpret_cast<iconv_t>(-1))
        throw Failure(std::string("the C library cannot convert from ") + chosen->iconvName + ": " + std::strerror(errno));
}

TextDecoder::~TextDecoder() { ::iconv_close(convert_); }

std::string TextDecoder::operator()(std::string_view bytes) const {
    if (utf8_ && IsUtf8(bytes)) return std::string(bytes);
    std::string text;
    char chunk[4096];
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* out = chunk;
        std::size_t outLeft = sizeof chunk;
        const std::size_t done = ::iconv(convert_, &in, &inLeft, &out, &outLeft);
        const int error = errno;
        text.append(chunk, static_cast<std::size_t>(out - chunk));
        if (done != static_cast<std::size_t>(-1) || error == E2BIG) continue;
        // Not a character of the encoding (or cut off at the end): the byte, escaped.
        char escape[5];
        std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(*in));
        text += escape;
        ++in;
        --inLeft;
        ::iconv(convert_, nullptr, nullptr, nullptr, nullptr);
    }
    return text;
}

}  // namespace vivo::host
