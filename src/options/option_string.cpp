#include "options/option_string.h"

#include <array>
#include <cstddef>

namespace vivo {
namespace {

constexpr char kQuote = '"';

// Membership of a byte in a small set of characters, answered in constant time.
class CharSet {
public:
    explicit CharSet(std::string_view chars) {
        for (char c : chars) Add(c);
    }
    void Add(char c) { member_[static_cast<unsigned char>(c)] = true; }
    [[nodiscard]] bool Has(char c) const { return member_[static_cast<unsigned char>(c)]; }

private:
    std::array<bool, 256> member_{};
};

// Position of the first character at or after `from` that is (`want` true) or is not (`want` false)
// in `set`; the text's size when there is none.
size_t Find(std::string_view text, size_t from, const CharSet& set, bool want) {
    while (from < text.size() && set.Has(text[from]) != want) ++from;
    return from;
}

// Splits texts at runs of a set of delimiters outside double quotes, by the rules of `SplitQuoted`.
class QuotedSplitter {
public:
    explicit QuotedSplitter(std::string_view delimiters)
        : delimiters_(delimiters), stops_(delimiters), quote_(std::string_view(&kQuote, 1)) {
        stops_.Add(kQuote);
    }

    // Calls `take` with each non-empty token in order; a token is always a stretch of the text.
    template <class Take>
    void ForEachToken(std::string_view text, Take&& take) const {
        size_t pos = 0;
        while (pos < text.size()) {
            const std::string_view token = ReadToken(text, pos);
            if (!token.empty()) take(token);
        }
    }

    [[nodiscard]] StringList Split(std::string_view text) const {
        StringList tokens;
        ForEachToken(text, [&](std::string_view token) { tokens.emplace_back(token); });
        return tokens;
    }

private:
    // The token from `pos` on; `pos` ends after the delimiters that follow it. A quoted stretch "..."
    // belongs to the token, which goes on after it: the stretches are passed in a loop, not by one
    // nested read each. A quote without a closing partner is an ordinary character.
    std::string_view ReadToken(std::string_view text, size_t& pos) const {
        const size_t start = pos;
        for (;;) {
            pos = Find(text, pos, stops_, true);
            if (pos == text.size()) return text.substr(start);
            if (delimiters_.Has(text[pos])) {
                const size_t end = pos;
                pos = Find(text, pos, delimiters_, false);
                return text.substr(start, end - start);
            }
            const size_t close = Find(text, pos + 1, quote_, true);
            pos = close == text.size() ? pos + 1 : close + 1;
        }
    }

    CharSet delimiters_;
    CharSet stops_;  // the delimiters and the double quote
    CharSet quote_;
};

}  // namespace

StringList SplitQuoted(std::string_view text, std::string_view delimiters) {
    return QuotedSplitter(delimiters).Split(text);
}

std::optional<StringList> SplitQuoted(const char* text, std::string_view delimiters) {
    if (text == nullptr) return std::nullopt;
    return SplitQuoted(std::string_view(text), delimiters);
}

bool ParseOptionString(std::string_view text, OptionSet& set) {
    std::vector<std::string_view> items;
    QuotedSplitter(kItemDelimiters).ForEachToken(text,
                                                 [&](std::string_view item) { items.push_back(item); });
    const QuotedSplitter fieldSplitter(kFieldDelimiters);
    set.clear();
    // Right to left, so that a key that stands twice lists the later item's value first.
    for (auto item = items.rbegin(); item != items.rend(); ++item) {
        // Fields: type, name, then the values; the key is "type|name", the value the values joined.
        std::string key;
        std::string value;
        size_t fields = 0;
        fieldSplitter.ForEachToken(*item, [&](std::string_view field) {
            std::string& part = ++fields <= 2 ? key : value;
            if (fields == 2 || fields > 3) part.push_back('|');
            part += field;
        });
        if (fields < 3) return false;

        auto [entry, inserted] = set.try_emplace(std::move(key), std::move(value));
        if (!inserted) {
            entry->second.push_back('|');
            entry->second += value;
        }
    }
    return true;
}

bool ParseOptionString(const char* text, OptionSet& set) {
    if (text == nullptr) return false;
    return ParseOptionString(std::string_view(text), set);
}

std::string FormatOptionItem(std::string_view key, std::string_view value) {
    std::string item;
    item.reserve(key.size() + value.size() + 3);
    item.push_back('[');
    item += key;
    item.push_back('|');
    item += value;
    item.push_back(']');
    return item;
}

void AppendWithSeparator(std::string& text, std::string_view piece, char separator) {
    if (!text.empty()) text.push_back(separator);
    text += piece;
}

namespace {

std::string_view NextTokenIn(std::string_view& rest, const CharSet& set) {
    const size_t start = Find(rest, 0, set, false);
    const size_t end = Find(rest, start, set, true);
    const std::string_view token = rest.substr(start, end - start);
    rest.remove_prefix(Find(rest, end, set, false));
    return token;
}

}  // namespace

std::string_view NextToken(std::string_view& rest, std::string_view delimiters) {
    return NextTokenIn(rest, CharSet(delimiters));
}

std::string NextToken(std::string& rest, std::string_view delimiters) {
    std::string_view view(rest);
    std::string token(NextToken(view, delimiters));
    rest.erase(0, rest.size() - view.size());
    return token;
}

void SplitList(std::string_view text, std::string_view delimiters, StringList& list) {
    const CharSet set(delimiters);
    while (!text.empty()) list.emplace_back(NextTokenIn(text, set));
}

namespace {

struct CEscape {
    char letter;  // the character after the backslash
    char byte;    // the byte it stands for
};

// The C escapes that `UnescapeCSequences` decodes: letter after the backslash -> byte.
constexpr std::array<CEscape, 8> kCEscapes = {{
    {'0', '\0'},
    {'n', '\n'},
    {'t', '\t'},
    {'b', '\b'},
    {'r', '\r'},
    {'f', '\f'},
    {'\'', '\''},
    {'"', '"'},
}};

}  // namespace

std::string UnescapeCSequences(std::string_view source) {
    // The source is a C text: it ends at its first NUL byte.
    source = source.substr(0, source.find('\0'));
    std::string decoded;
    decoded.reserve(source.size());
    for (size_t i = 0; i < source.size(); ++i) {
        if (source[i] != '\\') {
            decoded.push_back(source[i]);
            continue;
        }
        if (++i == source.size()) break;  // a trailing backslash escapes nothing
        // A letter outside the table stands for itself, so "\\" is one backslash and "\x" is "x":
        // the escaped character is the most useful byte the host can get back.
        char byte = source[i];
        for (const CEscape& escape : kCEscapes)
            if (escape.letter == source[i]) byte = escape.byte;
        decoded.push_back(byte);
    }
    return decoded;
}

std::string DoubleEscapeInQuotes(std::string_view text, std::string_view chars) {
    std::string result(text);
    for (char c : chars) {
        const size_t first = result.find(kQuote);
        const size_t last = result.rfind(kQuote);
        if (first == std::string::npos || first == last) continue;

        std::string escaped;
        escaped.reserve(result.size() + (last - first));
        escaped.append(result, 0, first + 1);
        for (size_t i = first + 1; i < last; ++i) {
            escaped.push_back(result[i]);
            if (result[i] == c) escaped.push_back(c);
        }
        escaped.append(result, last);
        result = std::move(escaped);
    }
    return result;
}

std::string UndoubleEscapes(std::string_view text, std::string_view chars) {
    std::string result(text);
    for (char c : chars) {
        std::string undoubled;
        undoubled.reserve(result.size());
        for (size_t i = 0; i < result.size(); ++i) {
            // "cc" gives c and c followed by a quote gives the quote; both characters are consumed.
            // Any other character, a lone c included, stands for itself.
            const bool pair = result[i] == c && i + 1 < result.size() &&
                              (result[i + 1] == c || result[i + 1] == kQuote);
            if (pair) ++i;
            undoubled.push_back(result[i]);
        }
        result = std::move(undoubled);
    }
    return result;
}

}  // namespace vivo
