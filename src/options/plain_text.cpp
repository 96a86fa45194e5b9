#include "options/plain_text.h"

#include <limits>

namespace vivo {

std::string_view TrimLeft(std::string_view text, std::string_view chars) {
    const std::size_t first = text.find_first_not_of(chars);
    return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

std::string_view TrimRight(std::string_view text, std::string_view chars) {
    const std::size_t last = text.find_last_not_of(chars);
    return last == std::string_view::npos ? std::string_view{} : text.substr(0, last + 1);
}

std::string_view Trim(std::string_view text, std::string_view chars) { return TrimRight(TrimLeft(text, chars), chars); }

std::string Joined(const std::vector<std::string>& pieces, char separator) {
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i != 0) joined += separator;
        joined += pieces[i];
    }
    return joined;
}

std::string NewlineList(const std::vector<std::string>& elements) {
    if (elements.empty()) return "\n\n";  // the host reads an empty list as two NULs
    std::string text;
    for (const std::string& e : elements) {
        text += e;
        text += '\n';
    }
    text += '\n';
    return text;
}

std::uint32_t ParseUnsigned(std::string_view text) {
    constexpr std::uint32_t kMax = std::numeric_limits<std::uint32_t>::max();
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + static_cast<std::uint64_t>(text[i] - '0');
        if (value > kMax) return kMax;
    }
    const auto result = static_cast<std::uint32_t>(value);
    return negative ? 0u - result : result;
}

}  // namespace vivo
