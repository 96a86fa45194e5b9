#pragma once
// The host's option strings and the plain separated lists that go with them.
//
//   [S|CPU|KZ600] [B|DEBUG|1] [S|INCLUDE|"C:\My Headers"|"$(CONFIGDIR)\inc"]
//
// An option string is option items separated by whitespace; an item is "[" type "|" name "|" values "]",
// the values separated by "|". A value is plain, or quoted: inside quotes a double quote is written twice
// and so is a closing bracket. The item key is type "|" name ("S|INCLUDE"); the item value is the rest
// up to the closing bracket, quotes kept. All comparisons are exact and case-sensitive; nothing is
// trimmed. Every operation runs in time linear in the size of its input.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vivo {

using StringList = std::vector<std::string>;

// Option strings that a conversion reads without owning them: views of the host's list, or of
// strings that outlive the call (option strings can be very large).
struct OptionLines : std::vector<std::string_view> {
    using vector::vector;
    OptionLines(const StringList& lines) : vector(lines.begin(), lines.end()) {}  // NOLINT: views of them
};
// Item key ("S|CPU") -> item value ("KZ600"); keys unique, no order.
using OptionSet = std::unordered_map<std::string, std::string>;

// Whitespace that separates option items: newline, tab, carriage return, blank.
inline constexpr std::string_view kItemDelimiters = "\n\t\r ";
// The characters that split an option item into type, name and values.
inline constexpr std::string_view kFieldDelimiters = "[|]";
// The characters doubled inside a quoted option value, in the order they are escaped and unescaped.
inline constexpr std::string_view kValueEscapes = "\"]";

// Tokens of `text` split at runs of `delimiters`, except inside double quotes; the quotes stay in the
// tokens and no token is empty. A double quote that has no closing partner is an ordinary character.
// Nothing (false) only when `text` is null.
[[nodiscard]] std::optional<StringList> SplitQuoted(const char* text, std::string_view delimiters);
[[nodiscard]] StringList SplitQuoted(std::string_view text, std::string_view delimiters);

// Fills `set` with the items of the option string. False when `text` is null (the set is left as it
// was) or an item has fewer than three fields, such as "[B|DEBUG|]" or a lone word (the set then holds
// the items right of it). A key that stands twice gets the values joined by "|", the later item first.
[[nodiscard]] bool ParseOptionString(const char* text, OptionSet& set);
[[nodiscard]] bool ParseOptionString(std::string_view text, OptionSet& set);

// "[" key "|" value "]".
[[nodiscard]] std::string FormatOptionItem(std::string_view key, std::string_view value);

// Appends `separator` unless `text` is empty, then `piece` (also when `piece` is empty).
void AppendWithSeparator(std::string& text, std::string_view piece, char separator);

// Removes the next token from the front of `rest` and returns it: delimiters before it and the run of
// delimiters after it are removed too. A `rest` of delimiters only becomes empty and gives "".
// The view form advances the view instead of rewriting text: use it when taking many tokens.
std::string NextToken(std::string& rest, std::string_view delimiters);
std::string_view NextToken(std::string_view& rest, std::string_view delimiters);

// Appends the tokens of `text` to `list` (which is not cleared), as repeated `NextToken` gives them:
// no quote handling, no empty tokens, except that a text of delimiters only appends one "".
void SplitList(std::string_view text, std::string_view delimiters, StringList& list);

// Decodes C escapes (\0 \n \t \b \r \f \' \") of `source` up to its end or a NUL byte: one byte per
// copied character or escape, no terminator added (end the source with "\0" to get one). A backslash
// before any other character gives that character; a backslash at the very end gives nothing.
[[nodiscard]] std::string UnescapeCSequences(std::string_view source);

// For each character c of `chars`, in order: every c strictly between the first and the last double
// quote of the text is written twice. Text without two double quotes comes back unchanged.
[[nodiscard]] std::string DoubleEscapeInQuotes(std::string_view text, std::string_view chars);

// For each character c of `chars`, in order: "cc" becomes c and c followed by a double quote becomes
// a double quote, reading pairs from the start of each run of c's and double quotes.
// A quoted option value reads back as UndoubleEscapes(value, kValueEscapes) without its outer quotes.
[[nodiscard]] std::string UndoubleEscapes(std::string_view text, std::string_view chars);

}  // namespace vivo
