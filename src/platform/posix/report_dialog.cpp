#include "platform/report_dialog.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <optional>

namespace vivo::platform {
namespace {

// Keys of the terminal dialog.
constexpr char kKeyToggle = ' ';
constexpr char kKeyEnter = '\r';
constexpr char kKeyLineFeed = '\n';
constexpr char kKeyEscape = '\x1b';
constexpr char kKeyInterrupt = '\x03';  // Ctrl+C, which raw mode delivers as a key: taken as Cancel
// How long after an Escape further bytes mean an escape sequence (an arrow key), not the Escape key.
constexpr int kEscapeSequenceMilliseconds = 50;

// A label as the dialog shows it: "&Generate" -> "Generate", "&&" -> "&".
std::string WithoutMnemonic(std::string_view label) {
    std::string shown;
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&' && i + 1 < label.size()) ++i;
        shown.push_back(label[i]);
    }
    return shown;
}

void WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

// One key from the terminal; nothing at end of input or on a read error.
std::optional<char> ReadKey(int fd) {
    for (;;) {
        char key = 0;
        const ssize_t got = ::read(fd, &key, 1);
        if (got == 1) return key;
        if (got < 0 && errno == EINTR) continue;
        return std::nullopt;
    }
}

bool MoreInputWithin(int fd, int milliseconds) {
    pollfd request{fd, POLLIN, 0};
    int ready = 0;
    do ready = ::poll(&request, 1, milliseconds);
    while (ready < 0 && errno == EINTR);
    return ready > 0 && (request.revents & POLLIN) != 0;
}

// Reads the rest of an escape sequence whose Escape has been read: an arrow or function key
// ("\x1b[A", "\x1b[15~", "\x1bOP") or Alt with a key ("\x1bx"), none of which closes the dialog.
void SkipEscapeSequence(int fd) {
    const std::optional<char> introducer = ReadKey(fd);
    if (introducer == '[') {
        // Parameters and intermediates up to the final byte, "@" to "~".
        for (std::optional<char> key = ReadKey(fd); key && !(*key >= '@' && *key <= '~'); key = ReadKey(fd)) {
        }
    } else if (introducer == 'O') {
        (void)ReadKey(fd);
    }
}

// Keys one at a time, no echo, no line editing, no signals from keys; the terminal's settings come
// back on every way out.
class RawTerminal {
public:
    explicit RawTerminal(int fd) : fd_(fd) {
        if (::tcgetattr(fd_, &saved_) != 0) return;
        termios raw = saved_;
        raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO | ISIG | IEXTEN);
        raw.c_iflag &= ~static_cast<tcflag_t>(IXON | ICRNL | INLCR | IGNCR);
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        active_ = ::tcsetattr(fd_, TCSANOW, &raw) == 0;
    }
    ~RawTerminal() {
        if (active_) ::tcsetattr(fd_, TCSANOW, &saved_);
    }
    RawTerminal(const RawTerminal&) = delete;
    RawTerminal& operator=(const RawTerminal&) = delete;

private:
    int fd_;
    termios saved_{};
    bool active_ = false;
};

std::string CheckBoxLine(bool checked, std::string_view label) {
    return std::string(checked ? "[x] " : "[ ] ") + std::string(label);
}

std::string WithLineEnd(std::string_view text, std::string_view lineEnd) {
    std::string shown(text);
    if (!shown.empty() && shown.back() != '\n') shown += lineEnd;
    return shown;
}

ReportDialogOutcome ShowOnTerminal(const ReportDialogForm& form, std::string_view summaryText,
                                   bool generateUpgradeFile) {
    const int in = STDIN_FILENO;
    const int out = STDERR_FILENO;
    const std::string checkLabel = WithoutMnemonic(form.checkBoxLabel);
    RawTerminal raw(in);

    WriteAll(out, "\r\n" + form.caption + "\r\n\r\n");
    WriteAll(out, WithoutMnemonic(form.summaryLabel) + "\r\n");
    WriteAll(out, WithLineEnd(summaryText, "\r\n"));
    WriteAll(out, "\r\n(Space: check box   Enter: " + WithoutMnemonic(form.okLabel) +
                      "   Esc: Cancel)\r\n");
    bool checked = generateUpgradeFile;
    WriteAll(out, CheckBoxLine(checked, checkLabel));

    ReportDialogOutcome outcome;
    for (;;) {
        const std::optional<char> key = ReadKey(in);
        if (!key || *key == kKeyInterrupt) break;
        if (*key == kKeyToggle) {
            checked = !checked;
            WriteAll(out, "\r" + CheckBoxLine(checked, checkLabel));
        } else if (*key == kKeyEnter || *key == kKeyLineFeed) {
            outcome = {true, checked, std::string(summaryText)};
            break;
        } else if (*key == kKeyEscape) {
            if (!MoreInputWithin(in, kEscapeSequenceMilliseconds)) break;
            SkipEscapeSequence(in);
        }
    }
    WriteAll(out, "\r\n");
    return outcome;
}

}  // namespace

ReportDialogOutcome ShowReportDialog(const ReportDialogForm& form, std::string_view summaryText,
                                     bool generateUpgradeFile) {
    if (::isatty(STDIN_FILENO) == 1 && ::isatty(STDERR_FILENO) == 1)
        return ShowOnTerminal(form, summaryText, generateUpgradeFile);
    // No one to ask: the text is shown and the dialog confirmed as it stands.
    WriteAll(STDERR_FILENO, form.caption + "\n");
    WriteAll(STDERR_FILENO, WithLineEnd(summaryText, "\n"));
    WriteAll(STDERR_FILENO, CheckBoxLine(generateUpgradeFile, WithoutMnemonic(form.checkBoxLabel)) + "\n");
    return {true, generateUpgradeFile, std::string(summaryText)};
}

}  // namespace vivo::platform
