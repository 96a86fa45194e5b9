#include "json_text.h"

namespace vivo::host {
namespace {

// The length of the valid UTF-8 sequence at the start of `bytes`, or 0.
std::size_t Utf8SequenceLength(std::string_view bytes) {
    const auto c = static_cast<unsigned char>(bytes[0]);
    if (c < 0x80) return 1;
    if (c < 0xC2 || c > 0xF4) return 0;
    const std::size_t want = c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (bytes.size() < want) return 0;
    for (std::size_t k = 1; k < want; ++k)
        if ((static_cast<unsigned char>(bytes[k]) & 0xC0) != 0x80) return 0;
    const auto second = static_cast<unsigned char>(bytes[1]);
    if (c == 0xE0 && second < 0xA0) return 0;   // overlong
    if (c == 0xF0 && second < 0x90) return 0;   // overlong
    if (c == 0xED && second >= 0xA0) return 0;  // a surrogate
    if (c == 0xF4 && second >= 0x90) return 0;  // beyond U+10FFFF
    return want;
}

void MakeUtf8At(Json& value, const std::string& pointer, std::vector<std::string>& latin1) {
    if (value.is_string()) {
        std::string& text = value.get_ref<std::string&>();
        if (!IsUtf8(text)) {
            text = Latin1ToUtf8(text);
            latin1.push_back(pointer);
        }
    } else if (value.is_array()) {
        for (std::size_t i = 0; i < value.size(); ++i) MakeUtf8At(value[i], pointer + "/" + std::to_string(i), latin1);
    } else if (value.is_object()) {
        for (auto& [key, member] : value.items()) MakeUtf8At(member, pointer + "/" + PointerToken(key), latin1);
    }
}

}  // namespace

bool IsUtf8(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t length = Utf8SequenceLength(bytes);
        if (length == 0) return false;
        bytes.remove_prefix(length);
    }
    return true;
}

std::string Latin1ToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (c < 0x80) {
            text += byte;
        } else {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

std::string PointerToken(std::string_view key) {
    std::string token;
    for (char c : key) {
        if (c == '~')
            token += "~0";
        else if (c == '/')
            token += "~1";
        else
            token += c;
    }
    return token;
}

void MakeUtf8(Json& document) {
    std::vector<std::string> latin1;
    MakeUtf8At(document, "", latin1);  // our documents are a few levels deep, whatever the input
    if (!latin1.empty() && document.is_object()) document["latin1"] = latin1;
}

std::string DumpJson(Json document, int indent) {
    MakeUtf8(document);
    return document.dump(indent) + "\n";
}

}  // namespace vivo::host
