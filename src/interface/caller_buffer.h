#pragma once
// Text leaving the plug-in through host-owned buffers, and NUL-separated lists entering it.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vivo {

// How an export hands its result text T (length L) to the host's buffer.
enum class Protocol {
    kNewlineList,                // writes back L; needs L bytes; T with every "\n" as NUL
    kNewlineTextWithTerminator,  // writes back L; needs L + 1 bytes; T with "\n" as NUL, then NUL
    kTerminatedText,             // writes back L + 1; needs L + 1 bytes; T and NUL
    kRawText,                    // writes back L; needs L bytes; T as it is
};

// Delivers `text` by `protocol`: 0 when it fitted, 1 when the capacity in *len was too small (then
// the buffer is untouched and *len holds what the protocol writes back).
[[nodiscard]] int32_t Deliver(Protocol protocol, std::string_view text, char* buffer, int32_t* len);

[[nodiscard]] inline int32_t Deliver(Protocol protocol, const std::string& text, char* buffer, int32_t* len) {
    return Deliver(protocol, std::string_view(text), buffer, len);
}

// Delivers a worker's text, or returns 1 and touches nothing when the worker failed.
[[nodiscard]] inline int32_t Deliver(Protocol protocol, const std::optional<std::string>& text,
                                     char* buffer, int32_t* len) {
    return text ? Deliver(protocol, std::string_view(*text), buffer, len) : 1;
}

// Appends each string of a NUL-separated list to `out`, in order (copies, or views of the caller's
// bytes); a lone NUL appends nothing.
template <class String>
void ReadNulList(const char* list, std::vector<String>& out) {
    for (const char* p = list; *p != '\0'; p += std::strlen(p) + 1) out.emplace_back(p);
}
[[nodiscard]] std::vector<std::string> ReadNulList(const char* list);

// Size of a NUL-separated list, final NUL included (a lone NUL has size 1).
[[nodiscard]] std::size_t NulListSize(const char* list);

// Turns every "\n" among the first `count` bytes into NUL.
void NewlinesToNul(char* bytes, std::size_t count);

}  // namespace vivo
