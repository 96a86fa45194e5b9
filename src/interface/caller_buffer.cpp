#include "interface/caller_buffer.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vivo {
namespace {

int32_t ClampedLength(std::size_t n) {
    return static_cast<int32_t>(std::min<std::size_t>(n, std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t Deliver(Protocol protocol, std::string_view text, char* buffer, int32_t* len) {
    const std::size_t textLength = text.size();
    const bool terminated =
        protocol == Protocol::kNewlineTextWithTerminator || protocol == Protocol::kTerminatedText;
    const std::size_t needed = textLength + (terminated ? 1 : 0);
    const std::size_t reported = protocol == Protocol::kTerminatedText ? textLength + 1 : textLength;
    const int32_t capacity = *len;
    *len = ClampedLength(reported);
    if (capacity < 0 || static_cast<std::size_t>(capacity) < needed) return 1;
    std::memcpy(buffer, text.data(), textLength);
    if (protocol == Protocol::kNewlineList || protocol == Protocol::kNewlineTextWithTerminator)
        NewlinesToNul(buffer, textLength);
    if (terminated) buffer[textLength] = '\0';
    return 0;
}

std::vector<std::string> ReadNulList(const char* list) {
    std::vector<std::string> out;
    ReadNulList(list, out);
    return out;
}

std::size_t NulListSize(const char* list) {
    const char* p = list;
    while (*p != '\0') p += std::strlen(p) + 1;
    return static_cast<std::size_t>(p - list) + 1;
}

void NewlinesToNul(char* bytes, std::size_t count) {
    std::replace(bytes, bytes + count, '\n', '\0');
}

}  // namespace vivo
