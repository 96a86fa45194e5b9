#include "change/conversion_helpers.h"

#include <algorithm>
#include <cstdio>

#include "change/conversion_table.h"
#include "options/option_string.h"
#include "options/paths.h"
#include "options/plain_text.h"
#include "platform/registry.h"

namespace vivo {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) { return text.starts_with(prefix); }

// The value of an item behind `prefix`, its closing brackets removed: "[S|CRC|CCITT|2000]" -> "CCITT|2000".
std::string_view ValueBehind(std::string_view item, std::string_view prefix) {
    return TrimRight(item.substr(prefix.size()), "]");
}

// The path of an output item from its first double quote on, the closing quotes and brackets removed;
// the opening quote stays: [S|OUTPUT|"C:\out\a.x30"] -> "C:\out\a.x30
std::string_view QuotedPathOf(std::string_view item) {
    const std::size_t quote = item.find('"');
    if (quote == std::string_view::npos) return {};
    return TrimRight(item.substr(quote), "\"]");
}

// Object-file extensions of the old toolchains and the KZ toolchain's, looked up in order.
struct ExtensionRename {
    std::string_view oldExtension;
    std::string_view newExtension;
};
constexpr std::array kExtensionRenames = {
    ExtensionRename{".x30", ".abs"},  // absolute load module
    ExtensionRename{".r30", ".obj"},  // relocatable object
    ExtensionRename{".a30", ".src"},  // assembler source output
};

// The assembler options nested in the compiler's ASSEMBLY item: the inner items that still mean
// something to the KZ assembler, each with its bracket doubled. Nothing is logged for them.
constexpr std::array kAssemblyRows = {
    ConversionRow{"[S|INCLUDE|", nullptr, "[S|INCLUDE|", nullptr},
    ConversionRow{"[S|DEFINE|", nullptr, "[S|DEFINE|", nullptr},
    ConversionRow{"[B|DEBUG|", nullptr, "[B|DEBUG|", nullptr},
    ConversionRow{"[B|GOPTIMIZE|", nullptr, "[B|GOPTIMIZE|", nullptr},
    ConversionRow{"[S|OUTPUTPATH|", nullptr, "[S|OUTPUTPATH|", nullptr},
    ConversionRow{"[B|SKIPDEPENDENCY|1]]", nullptr, "[B|SKIPDEPENDENCY|1]]", nullptr},
    ConversionRow{"[B|HEAP|1]]", nullptr, "[S|DEFINE|__HEAP__=1]]", nullptr},
    ConversionRow{"[B|IO|1]]", nullptr, "[S|DEFINE|__STANDARD_IO__=1]]", nullptr},
};

constexpr std::string_view kAssemblyPrefix = "[S|ASSEMBLY|";
constexpr std::string_view kRtosKey = "SOFTWARE\\Veltora\\RTOS";
constexpr std::string_view kRtosProduct = "Orvik";

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    std::string out;
    std::size_t start = 0;
    for (std::size_t hit; (hit = text.find(from, start)) != std::string::npos; start = hit + from.size()) {
        out.append(text, start, hit - start);
        out += to;
    }
    if (start == 0) return;
    out.append(text, start);
    text = std::move(out);
}

// One library list of the old linker with its directory pieces folded into the names that follow:
//   -D="C:\lib"|-L=a.lib|-L=\abs\b.lib  ->  "C:\lib\a.lib"|"\abs\b.lib"
std::string ConvertLibraryList(std::string_view value) {
    StringList pieces;
    SplitList(value, "|", pieces);
    std::string directory;
    std::string converted;
    for (const std::string& piece : pieces) {
        const std::size_t equals = piece.find('=');
        if (piece.size() < 2 || equals == std::string::npos) continue;  // not a directory or library piece
        const std::string_view text = std::string_view(piece).substr(equals + 1);
        if (piece[1] == 'D') {
            directory = Trim(text, "\"");
            continue;
        }
        if (piece[1] != 'L') continue;
        std::string name(text);
        if (!IsRootedDirectory(name)) {
            if (directory.find("$(") == std::string::npos && name.find("$(") == std::string::npos) {
                // "C:\lib" + "a.lib"; an empty directory gives "\a.lib", hence the trim
                name = std::string(TrimLeft(BuildPath(directory, name, ""), "\\"));
            } else {
                // host macros are not paths the shell can join: "$(CONFIGDIR)" + "\" + "a.lib"
                name = directory + "\\" + name;
            }
        }
        AppendWithSeparator(converted, "\"" + name + "\"", '|');
    }
    return converted;
}

}  // namespace

void ConvertOutputFileExtensions(std::vector<std::string>& items) {
    std::vector<std::size_t> outputs;
    bool cpp = false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& item = items[i];
        if (StartsWith(item, "[S|OUTPUT|\"") || StartsWith(item, "[S|OUTPUTPATH|\"")) {
            outputs.push_back(i);
        } else if (item == "[S|LANG|CPP]" || item == "[S|LANG|ECPP]") {
            cpp = true;
        }
    }
    for (std::size_t i : outputs) {
        std::string& item = items[i];
        const std::size_t quote = item.find('"');
        const std::string prefix = item.substr(0, quote);
        const SplitPathResult parts = SplitPath(TrimLeft(QuotedPathOf(item), "\""));
        const std::string stem = prefix + "\"" + parts.directory + parts.baseName;
        for (const ExtensionRename& rename : kExtensionRenames) {
            if (parts.extension == rename.oldExtension) {
                item = stem + std::string(rename.newExtension) + "\"]";
                break;
            }
        }
        if (parts.extension == ".i") item = stem + (cpp ? ".pp\"]" : ".p\"]");
    }
}

void ConvertAssemblyItem(const OptionLines& sourceLines, std::vector<std::string>& targetItems,
                         ChangeSummary& summary) {
    if (sourceLines.empty()) return;
    std::string assembly;
    for (std::string& item : SplitQuoted(std::string_view(sourceLines.front()), kItemDelimiters)) {
        if (StartsWith(item, kAssemblyPrefix)) {
            assembly = std::move(item);
            break;
        }
    }
    if (assembly.empty()) return;

    // [S|ASSEMBLY|"inner"] -> inner, its doubled quotes made single; its items keep "]]"
    const std::string_view quoted = std::string_view(assembly).substr(kAssemblyPrefix.size());
    const std::string_view inner = quoted.size() >= 3 ? quoted.substr(1, quoted.size() - 3) : std::string_view{};
    const std::vector<std::string> innerLines{UndoubleEscapes(inner, "\"")};

    std::vector<std::string> converted{"[V|VERSION|1]]"};
    ConvertOptionItems(innerLines, ConversionTable{{kAssemblyRows}}, converted, summary);

    std::string joined;
    for (std::string& item : converted) {
        if (StartsWith(item, "[S|OUTPUTPATH|\"")) ReplaceAll(item, "\\$(FILELEAF).r30\"]]", "\\$(FILELEAF).obj\"]]");
        AppendWithSeparator(joined, item, ' ');
    }
    targetItems.push_back(std::string(kAssemblyPrefix) + DoubleEscapeInQuotes("\"" + joined + "\"", "\"") + "]");
}

std::array<int, 3> ReadRtosVersionNumbers(std::string_view name) {
    std::array<int, 3> numbers{};
    const std::string text(name);
    // The fields that do not match keep their 0; the count of fields read is not needed.
    (void)std::sscanf(text.c_str(), "V.%d.%d Release %d", &numbers[0], &numbers[1], &numbers[2]);
    return numbers;
}

std::string GetRtosItems() {
    const auto products = platform::ListRegistrySubkeys(kRtosKey);
    if (!products) return {};
    if (std::find(products->begin(), products->end(), kRtosProduct) == products->end()) return {};

    std::string items = "[S|RTOSPRODUCT|\"" + std::string(kRtosProduct) + "\"]";
    const auto versions = platform::ListRegistrySubkeys(std::string(kRtosKey) + "\\" + std::string(kRtosProduct));
    if (!versions) return items;
    for (const std::string& version : *versions) {
        const std::array<int, 3> numbers = ReadRtosVersionNumbers(version);
        if (numbers[0] != 0 || numbers[1] != 0 || numbers[2] != 0) {
            items += " [S|RTOSVERSION|\"" + version + "\"]";
            break;
        }
    }
    return items;
}

void ConvertLibraryAndOutputItems(std::vector<std::string>& items) {
    constexpr std::string_view kLibraryPrefix = "[S|INPUTLIBRARY|";
    constexpr std::string_view kMembersPrefix = "[S|MODE|CREATE|";
    bool formExists = false;
    std::vector<std::size_t> outputs;  // ascending; only items before the scan position are removed
    for (std::size_t i = 0; i < items.size();) {
        std::string& item = items[i];
        if (StartsWith(item, "[S|FORM|")) {
            formExists = true;
        } else if (StartsWith(item, kLibraryPrefix)) {
            item = std::string(kLibraryPrefix) + ConvertLibraryList(ValueBehind(item, kLibraryPrefix)) + "]";
        } else if (StartsWith(item, "[S|OUTPUT|\"")) {
            outputs.push_back(i);
        } else if (StartsWith(item, kMembersPrefix)) {
            // the old librarian's members: a library output made of these inputs
            StringList members;
            SplitList(ValueBehind(item, kMembersPrefix), "|", members);
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(i));
            items.emplace_back("[S|FORM|LIBRARY=U]");
            if (!members.empty()) {
                std::string input = "[S|INPUT";
                for (const std::string& member : members) input += "|" + member;
                items.push_back(input + "]");
            }
            continue;  // the next item has moved to position i
        }
        ++i;
    }
    if (outputs.size() < 2) return;
    if (!formExists) items.emplace_back("[S|FORM|STYPE]");
    for (auto it = outputs.rbegin(); it != outputs.rend(); ++it) {
        if (SplitPath(QuotedPathOf(items[*it])).extension == ".abs") {
            items.erase(items.begin() + static_cast<std::ptrdiff_t>(*it));
        }
    }
}

void ConvertCrcAndVectItems(std::vector<std::string>& items) {
    constexpr std::string_view kCrcPrefix = "[S|CRC|";
    constexpr std::string_view kVectPrefix = "[S|VECT|";
    for (std::string& item : items) {
        if (StartsWith(item, kCrcPrefix)) {
            StringList pieces;
            SplitList(ValueBehind(item, kCrcPrefix), "|", pieces);
            if (pieces.empty()) continue;  // "[S|CRC|]": nothing to place DEFAULT behind
            std::string value = pieces.front() + "|DEFAULT";
            for (std::size_t p = 1; p < pieces.size(); ++p) value += "|" + pieces[p];
            item = std::string(kCrcPrefix) + value + "]";
        } else if (StartsWith(item, kVectPrefix)) {
            const std::string_view value = TrimRight(TrimLeft(std::string_view(item).substr(kVectPrefix.size()), "\""), "\"]");
            item = std::string(kVectPrefix) + std::string(value) + "]";
        }
    }
}

}  // namespace vivo
