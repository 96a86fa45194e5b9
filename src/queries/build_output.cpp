#include "queries/build_output.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <limits>

#include "options/paths.h"
#include "platform/byte_blocks.h"

namespace vivo {
namespace {

// One bit per classification row; the lowest set bit is the row that wins.
using RowMask = std::uint32_t;
static_assert(kClassificationTable.size() <= std::numeric_limits<RowMask>::digits);

constexpr RowMask Bit(std::size_t row) { return RowMask{1} << row; }

constexpr bool NoEmptyText() {
    for (const ClassificationRow& row : kClassificationTable) {
        if (row.text.empty()) return false;
    }
    return true;
}
static_assert(NoEmptyText(), "rows are looked up by the first byte of their text");

// The rows of one match mode by the first byte of their text: the only rows worth comparing where
// the line holds that byte.
constexpr std::array<RowMask, 256> RowsByFirstByte(MatchMode mode) {
    std::array<RowMask, 256> rows{};
    for (std::size_t i = 0; i < kClassificationTable.size(); ++i) {
        const ClassificationRow& row = kClassificationTable[i];
        if (row.mode == mode) rows[static_cast<unsigned char>(row.text.front())] |= Bit(i);
    }
    return rows;
}

constexpr std::array<RowMask, 256> kStartRows = RowsByFirstByte(MatchMode::kStart);

constexpr RowMask AllRows(MatchMode mode) {
    RowMask rows = 0;
    for (std::size_t i = 0; i < kClassificationTable.size(); ++i) {
        if (kClassificationTable[i].mode == mode) rows |= Bit(i);
    }
    return rows;
}

constexpr RowMask kAllAnywhereRows = AllRows(MatchMode::kAnywhere);

// The byte at `index` of every anywhere text ("(" and ")" of "(E)", "(W)", ...), or -1 when they
// differ or a text is shorter.
constexpr int CommonAnywhereByte(std::size_t index) {
    int common = -1;
    for (const ClassificationRow& row : kClassificationTable) {
        if (row.mode != MatchMode::kAnywhere) continue;
        if (row.text.size() <= index) return -1;
        const int byte = static_cast<unsigned char>(row.text[index]);
        if (common >= 0 && common != byte) return -1;
        common = byte;
    }
    return common;
}

constexpr bool AnywhereTextsOfThreeBytes() {
    for (const ClassificationRow& row : kClassificationTable) {
        if (row.mode == MatchMode::kAnywhere && row.text.size() != 3) return false;
    }
    return true;
}

// An anywhere text is found as a pair of its outer bytes, and its middle byte says which it is.
static_assert(AnywhereTextsOfThreeBytes() && CommonAnywhereByte(0) >= 0 && CommonAnywhereByte(2) >= 0,
              "anywhere texts are three bytes with the same first and the same last byte");
constexpr auto kAnywhereFirst = static_cast<unsigned char>(CommonAnywhereByte(0));
constexpr auto kAnywhereThird = static_cast<unsigned char>(CommonAnywhereByte(2));

// The anywhere rows by the middle byte of their text.
constexpr std::array<RowMask, 256> AnywhereRowsByMiddleByte() {
    std::array<RowMask, 256> rows{};
    for (std::size_t i = 0; i < kClassificationTable.size(); ++i) {
        const ClassificationRow& row = kClassificationTable[i];
        if (row.mode == MatchMode::kAnywhere) rows[static_cast<unsigned char>(row.text[1])] |= Bit(i);
    }
    return rows;
}

constexpr std::array<RowMask, 256> kAnywhereRowsByMiddleByte = AnywhereRowsByMiddleByte();

using platform::ByteBlock;
using platform::ByteBlockBits;
using platform::kByteBlock;
using platform::LoadByteBlock;

// Per position of the 16 at `at`: all ones where `first` stands there and `third` two bytes on.
ByteBlock PairBlock(const unsigned char* at, unsigned char first, unsigned char third) {
    return reinterpret_cast<ByteBlock>((LoadByteBlock(at) == first) & (LoadByteBlock(at + 2) == third));
}

// The same as one bit per position.
std::uint32_t PairsIn(const unsigned char* at, unsigned char first, unsigned char third) {
    return ByteBlockBits(PairBlock(at, first, third));
}

// Calls `each(position)` for every position where the line holds `first` and, two bytes on, `third`,
// in order, until `each` returns false. "$(PROJDIR)" costs nothing, as "(" alone is no candidate.
template <class Each>
void ForEachPair(std::string_view line, unsigned char first, unsigned char third, Each&& each) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    platform::ForEachHit(
        line.size(), 2, [=](std::size_t at) { return PairsIn(bytes + at, first, third); },
        [=](std::size_t i) { return bytes[i] == first && bytes[i + 2] == third; }, each);
}

// True when the line holds `first` with `third` two bytes on anywhere: one pass without stopping, as
// most lines hold no such pair.
bool HasPair(std::string_view line, unsigned char first, unsigned char third) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(line.data());
    const std::size_t size = line.size();
    if (size < kByteBlock + 2) {
        bool found = false;
        ForEachPair(line, first, third, [&found](std::size_t) {
            found = true;
            return false;  // one is enough
        });
        return found;
    }
    ByteBlock hits = PairBlock(bytes + size - 2 - kByteBlock, first, third);
    for (std::size_t i = 0; i + kByteBlock + 2 <= size; i += kByteBlock) hits |= PairBlock(bytes + i, first, third);
    return ByteBlockBits(hits) != 0;
}

// A row's text, for comparing at a line's start: its first (up to) eight bytes as one word read the
// way a line's first bytes are read, and the mask of the bytes the text has.
struct StartWord {
    std::uint64_t word = 0;
    std::uint64_t mask = 0;
};

constexpr std::size_t kWordBytes = sizeof(std::uint64_t);

constexpr unsigned WordShift(std::size_t byte) {
    return static_cast<unsigned>(8 * (std::endian::native == std::endian::little ? byte : kWordBytes - 1 - byte));
}

constexpr std::array<StartWord, kClassificationTable.size()> StartWords() {
    std::array<StartWord, kClassificationTable.size()> words{};
    for (std::size_t row = 0; row < kClassificationTable.size(); ++row) {
        const std::string_view text = kClassificationTable[row].text;
        for (std::size_t i = 0; i < text.size() && i < kWordBytes; ++i) {
            words[row].word |= std::uint64_t{static_cast<unsigned char>(text[i])} << WordShift(i);
            words[row].mask |= std::uint64_t{0xFF} << WordShift(i);
        }
    }
    return words;
}

constexpr std::array<StartWord, kClassificationTable.size()> kStartWords = StartWords();

// The line's first eight bytes as one word (zeros past a shorter line's end).
std::uint64_t FirstWord(std::string_view line) {
    std::uint64_t word = 0;
    if (line.size() >= kWordBytes) {
        std::memcpy(&word, line.data(), kWordBytes);
    } else {
        for (std::size_t i = 0; i < line.size(); ++i) {
            word |= std::uint64_t{static_cast<unsigned char>(line[i])} << WordShift(i);
        }
    }
    return word;
}

// True when `text` stands at `at`, compared eight bytes at a time from byte `from` on: the texts are
// short, and the calls cost more than the comparison.
bool SameBytes(const char* at, std::string_view text, std::size_t from) {
    std::size_t i = from;
    for (; i + kWordBytes <= text.size(); i += kWordBytes) {
        std::uint64_t a;
        std::uint64_t b;
        std::memcpy(&a, at + i, kWordBytes);
        std::memcpy(&b, text.data() + i, kWordBytes);
        if (a != b) return false;
    }
    for (; i < text.size(); ++i) {
        if (at[i] != text[i]) return false;
    }
    return true;
}

// The first of the start rows among `candidates` (in table order) that begins the line, as a mask.
// Most candidates fail on the first word.
RowMask FirstStartRow(std::string_view line, RowMask candidates) {
    if (candidates == 0) return 0;
    const std::uint64_t first = FirstWord(line);
    for (; candidates != 0; candidates &= candidates - 1) {
        const auto row = static_cast<std::size_t>(std::countr_zero(candidates));
        if ((first & kStartWords[row].mask) != kStartWords[row].word) continue;
        const std::string_view text = kClassificationTable[row].text;
        if (line.size() >= text.size() && SameBytes(line.data(), text, kWordBytes)) return Bit(row);
    }
    return 0;
}

// The anywhere rows whose text occurs in the line: every pair of outer bytes, by its middle byte.
RowMask AnywhereRowsIn(std::string_view line) {
    RowMask found = 0;
    ForEachPair(line, kAnywhereFirst, kAnywhereThird, [&](std::size_t pos) {
        found |= kAnywhereRowsByMiddleByte[static_cast<unsigned char>(line[pos + 1])];
        return true;
    });
    return found;
}

// The number strtoul reads from a code word's digits: digits up to the first non-digit, saturating
// at the 32-bit maximum as the host platform's unsigned long does.
std::uint32_t LeadingUnsigned(std::string_view digits) {
    std::uint64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') break;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > std::numeric_limits<std::uint32_t>::max()) return std::numeric_limits<std::uint32_t>::max();
    }
    return static_cast<std::uint32_t>(value);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True when strtol reads the text as 0: blanks, an optional sign, then no digit other than "0" before
// the first non-digit ("", "0", "00", "x1" yes; "12", " -3", "007" no).
bool ReadsAsZero(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (text[i] != '0') return false;
    }
    return true;
}

constexpr std::string_view kNone = "None";
constexpr std::string_view kSeparator = " : ";

// The first " : " of the line, or npos: candidates with a blank two bytes after a blank are found a
// block at a time, then the middle byte is checked.
std::size_t FindSeparator(std::string_view line) {
    static_assert(kSeparator.size() == 3 && kSeparator.front() == kSeparator.back());
    const auto outer = static_cast<unsigned char>(kSeparator.front());
    std::size_t separator = std::string_view::npos;
    ForEachPair(line, outer, outer, [&](std::size_t at) {
        if (line[at + 1] == kSeparator[1]) separator = at;
        return separator == std::string_view::npos;
    });
    return separator;
}

// What stands before a separator in "main.c(12) : ...": the last ")", where the number ends (before
// the ")"s that end the part) and the last "(" before that; npos where there is none.
struct PositionMarks {
    std::size_t lastClose;
    std::size_t numberEnd;
    std::size_t open;
};

constexpr std::uint32_t HighestBit(std::uint32_t bits) {
    return 31u - static_cast<std::uint32_t>(std::countl_zero(bits));
}

PositionMarks FindPositionMarks(std::string_view line, std::size_t separator) {
    // The 16 bytes before the separator hold all three marks of most positions: found at once, without
    // the byte loops that a line number's varying length makes costly.
    if (separator >= kByteBlock) {
        const std::size_t base = separator - kByteBlock;
        const ByteBlock block = LoadByteBlock(reinterpret_cast<const unsigned char*>(line.data()) + base);
        const std::uint32_t closes = ByteBlockBits(reinterpret_cast<ByteBlock>(block == ')'));
        // The ")"s right before the separator, as leading ones once the block's bits are on top.
        const auto closers = static_cast<std::uint32_t>(std::countl_one(closes << (32 - kByteBlock)));
        const std::uint32_t beforeClosers = (std::uint32_t{1} << (kByteBlock - closers)) - 1;
        const std::uint32_t opens = ByteBlockBits(reinterpret_cast<ByteBlock>(block == '(')) & beforeClosers;
        if (closes != 0 && opens != 0) {
            return {base + HighestBit(closes), separator - closers, base + HighestBit(opens)};
        }
    }
    std::size_t numberEnd = separator;
    while (numberEnd > 0 && line[numberEnd - 1] == ')') --numberEnd;
    return {line.substr(0, separator).rfind(')'), numberEnd, line.substr(0, numberEnd).rfind('(')};
}

// The row of the message code table for a code word: the search starts at the first row whose
// prefix could begin with the word's first byte.
constexpr std::array<std::uint8_t, 256> FirstCodeRows() {
    std::array<std::uint8_t, 256> rows{};
    for (std::size_t byte = 0; byte < rows.size(); ++byte) {
        std::size_t row = 0;
        while (!kMessageCodeTable[row].prefix.empty() &&
               static_cast<unsigned char>(kMessageCodeTable[row].prefix.front()) != byte) {
            ++row;
        }
        rows[byte] = static_cast<std::uint8_t>(row);
    }
    return rows;
}

constexpr std::array<std::uint8_t, 256> kFirstCodeRows = FirstCodeRows();

const MessageCodeRow& MessageCodeRowOf(std::string_view codeWord) {
    std::size_t row =
        codeWord.empty() ? kMessageCodeTable.size() - 1 : kFirstCodeRows[static_cast<unsigned char>(codeWord[0])];
    // The prefixes are one or two bytes: compared in place, as a comparison call costs more.
    const auto begins = [codeWord](std::string_view prefix) {
        if (codeWord.size() < prefix.size()) return false;
        for (std::size_t i = 0; i < prefix.size(); ++i) {
            if (codeWord[i] != prefix[i]) return false;
        }
        return true;
    };
    while (!begins(kMessageCodeTable[row].prefix)) ++row;  // the empty last prefix begins every word
    return kMessageCodeTable[row];
}

// Every code base is a whole number of this: the code of a word with exactly as many digits after its
// prefix as the unit has zeros is the base's leading digits followed by those digits.
constexpr std::uint32_t kBaseUnit = 10000;
constexpr std::size_t kBaseUnitZeros = 4;

constexpr bool BasesAreWholeUnits() {
    for (const MessageCodeRow& row : kMessageCodeTable) {
        if (MessageCodeBase(row) % kBaseUnit != 0) return false;
    }
    return true;
}
static_assert(BasesAreWholeUnits());

// The longest text of a message code: all digits of a 32-bit number.
constexpr std::size_t kLongestCodeText = 10;

// The message code of a code word as decimal text in `out` (room for kLongestCodeText); its length.
std::size_t MessageCodeText(std::string_view codeWord, char* out) {
    const MessageCodeRow& row = MessageCodeRowOf(codeWord);
    const std::string_view number = codeWord.substr(row.prefix.size());
    const auto digitAt = [number](std::size_t i) { return i < number.size() && IsDigit(number[i]); };
    bool unitDigits = !digitAt(kBaseUnitZeros);
    for (std::size_t i = 0; i < kBaseUnitZeros; ++i) unitDigits &= digitAt(i);
    if (unitDigits) {
        // Most code words are of this kind ("C2500"): their text needs no arithmetic.
        char* end = std::to_chars(out, out + kLongestCodeText, MessageCodeBase(row) / kBaseUnit).ptr;
        std::memcpy(end, number.data(), kBaseUnitZeros);
        return static_cast<std::size_t>(end - out) + kBaseUnitZeros;
    }
    return static_cast<std::size_t>(std::to_chars(out, out + kLongestCodeText, MessageCode(codeWord)).ptr - out);
}

}  // namespace

std::uint32_t MessageCode(std::string_view codeWord) {
    const MessageCodeRow& row = MessageCodeRowOf(codeWord);
    return MessageCodeBase(row) + LeadingUnsigned(codeWord.substr(row.prefix.size()));
}

const ClassificationRow* FindClassificationRow(std::string_view line) {
    if (line.empty()) return nullptr;
    const RowMask start = FirstStartRow(line, kStartRows[static_cast<unsigned char>(line.front())]);
    // An anywhere row only counts when it comes before the first start row that matched.
    const RowMask earlier = start != 0 ? start - 1 : ~RowMask{0};
    const RowMask wanted = kAllAnywhereRows & earlier;
    RowMask matched = start;
    if (wanted != 0 && HasPair(line, kAnywhereFirst, kAnywhereThird)) matched |= AnywhereRowsIn(line) & wanted;
    if (matched == 0) return nullptr;
    return &kClassificationTable[static_cast<std::size_t>(std::countr_zero(matched))];
}

void AppendDiagnosticText(std::string_view line, std::string& text) {
    constexpr std::size_t npos = std::string_view::npos;
    std::string_view file = kNone;
    std::string_view lineNumber = kNone;
    std::string_view message;
    std::array<char, kMaxPath> canonicalFile;

    // A source position splits from its message at the first " : ", at position 4 or later, when the
    // part before it has its last ")" after a digit, as in "main.c(12) : C2500 (E) ...".
    const std::size_t separator = FindSeparator(line);
    const PositionMarks marks =
        separator != npos && separator >= 4 ? FindPositionMarks(line, separator) : PositionMarks{npos, npos, npos};
    if (marks.lastClose != npos && marks.lastClose >= 1 && IsDigit(line[marks.lastClose - 1])) {
        message = line.substr(separator + kSeparator.size());
        // "main.c(12)": the number after the last "(" once the closers are gone.
        if (marks.open != npos) {
            const std::string_view number = line.substr(marks.open + 1, marks.numberEnd - marks.open - 1);
            if (!ReadsAsZero(number)) {
                file = line.substr(0, marks.open);
                lineNumber = number;
                if (!IsRelativePath(file)) file = Canonicalize(file, canonicalFile).value_or(file);
            }
        }
    } else {
        // "** L1100 (W) ..." : the message starts after the leading blanks and asterisks.
        const std::size_t first = line.find_first_not_of(" *");
        message = first == npos ? std::string_view{} : line.substr(first);
    }

    // The code word: the message's first blank-delimited token. Byte loops: the words are short.
    std::size_t wordStart = 0;
    while (wordStart < message.size() && message[wordStart] == ' ') ++wordStart;
    std::size_t wordEnd = wordStart;
    while (wordEnd < message.size() && message[wordEnd] != ' ') ++wordEnd;
    const std::string_view codeWord = message.substr(wordStart, wordEnd - wordStart);

    // The text is written straight into the string, made a block longer than it can get and cut to
    // its length at the end: the pieces are copied 16 bytes at a time, as a copy call per piece, with
    // its branches on the size, costs more than the bytes.
    const std::size_t old = text.size();
    text.resize(old + file.size() + lineNumber.size() + kLongestCodeText + message.size() + 3 + kByteBlock);
    char* out = text.data() + old;
    const auto lineBegin = reinterpret_cast<std::uintptr_t>(line.data());
    const auto add = [&out, lineBegin, lineEnd = lineBegin + line.size()](std::string_view piece) {
        const char* from = piece.data();
        const std::size_t size = piece.size();
        const auto at = reinterpret_cast<std::uintptr_t>(from);
        if (size >= kByteBlock) {
            // Whole blocks, then the last 16 bytes again: nothing is read past the piece.
            for (std::size_t i = 0; i + kByteBlock <= size; i += kByteBlock) std::memcpy(out + i, from + i, kByteBlock);
            std::memcpy(out + size - kByteBlock, from + size - kByteBlock, kByteBlock);
        } else if (at >= lineBegin && at + kByteBlock <= lineEnd) {
            // A short part of the line with a block of it behind: what is copied past the piece is
            // overwritten next or cut off.
            std::memcpy(out, from, kByteBlock);
        } else if (size != 0) {
            std::memcpy(out, from, size);
        }
        out += size;
    };
    add(file);
    *out++ = '|';
    add(lineNumber);
    *out++ = '|';
    out += MessageCodeText(codeWord, out);
    *out++ = '|';
    add(message);
    text.resize(static_cast<std::size_t>(out - text.data()));
}

std::string DiagnosticText(std::string_view line) {
    std::string text;
    AppendDiagnosticText(line, text);
    return text;
}

void ClassifyOutputLine(std::string_view line, LineInfo& info) {
    info.recognised = info.errors = info.warnings = info.fatalErrors = info.messageFlag = 0;
    info.text.clear();
    const ClassificationRow* row = FindClassificationRow(line);
    if (row == nullptr) return;
    // Set from the kind without a branch for each: the kinds follow each other at random in a build's
    // output.
    const LineKind kind = row->kind;
    info.recognised = 1;
    info.errors = kind == LineKind::kError;
    info.warnings = kind == LineKind::kWarning;
    info.fatalErrors = kind == LineKind::kFatal;
    info.messageFlag = kind != LineKind::kBanner;
    if (kind != LineKind::kBanner && kind != LineKind::kCommand) AppendDiagnosticText(line, info.text);
}

LineInfo ClassifyOutputLine(std::string_view line) {
    LineInfo info;
    ClassifyOutputLine(line, info);
    return info;
}

}  // namespace vivo
