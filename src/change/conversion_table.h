#pragma once
// Conversion tables: how the option items of another toolchain family become KZ option items, and
// the frame in which every cross-family conversion applies its tables and item rewrites.

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "options/option_string.h"
#include "summary/change_summary.h"

namespace vivo {

// One rename: an old item that begins with `oldPrefix` (or equals it) becomes `newPrefix` followed by
// the rest of the old item. `newPrefix` may hold several items ("[B|ENTRY|1] [S|ENTRY|"). The labels
// name the two options in the change summary; a row whose labels differ logs a rename line, a null
// label equals only a null label.
struct ConversionRow {
    const char* oldPrefix;
    const char* oldLabel;  // may be null
    const char* newPrefix;
    const char* newLabel;  // may be null
};

// A row that keeps the item as it is and logs nothing: the old and the new option are the same one.
[[nodiscard]] constexpr ConversionRow Kept(const char* prefix, const char* label = nullptr) {
    return ConversionRow{prefix, label, prefix, label};
}

// A row that renames the item but not the option, so it logs nothing either.
[[nodiscard]] constexpr ConversionRow Renamed(const char* oldPrefix, const char* newPrefix,
                                              const char* label = nullptr) {
    return ConversionRow{oldPrefix, label, newPrefix, label};
}

using ConversionRows = std::span<const ConversionRow>;

// The rows of one tool's conversion, in order. A table may be made of stretches of rows that other
// tables own (a shared table with one row inserted, or the first rows of another's table); the
// stretches are read one after the other. An empty table converts nothing.
struct ConversionTable {
    std::array<ConversionRows, 3> stretches{};

    [[nodiscard]] constexpr std::size_t size() const {
        std::size_t count = 0;
        for (const ConversionRows& stretch : stretches) count += stretch.size();
        return count;
    }
};

// Every item of `sourceLines` (joined with blanks, split at whitespace outside double quotes) is
// tried against every row in order; each match appends one element to `targetItems`, so one item can
// yield several and an item that matches nothing is dropped. Rows whose labels differ add the
// "PhaseOptions" heading and a rename line to `summary`, each line kept once.
void ConvertOptionItems(const OptionLines& sourceLines, const ConversionTable& table,
                        std::vector<std::string>& targetItems, ChangeSummary& summary);

// The item rewrites a conversion can run on a tool's list after its table, in the order it lists them.
enum class ItemRewrite {
    None,
    AssemblyItem,           // ConvertAssemblyItem over the source lines
    OutputFileExtensions,   // ConvertOutputFileExtensions
    LibraryAndOutputItems,  // ConvertLibraryAndOutputItems
    CrcAndVectItems,        // ConvertCrcAndVectItems
    RtosItems,              // GetRtosItems, appended as one element even when empty
};

// What a conversion does for one KZ tool after the tool's opening element.
struct ToolConversion {
    ConversionTable table;
    std::array<ItemRewrite, 2> rewrites{};
};

// A whole cross-family conversion: one entry per KZ tool it produces.
struct CrossFamilyConversion {
    ToolConversion compiler;
    ToolConversion assembler;
    ToolConversion libraryGenerator;
    ToolConversion linker;
    ToolConversion configurator;
};

// Builds the KZ option string of the phase `phaseName` (a KZ tool name) from the old option strings
// and appends it to `result`, one blank before each element when `result` is not empty. Tools other
// than the compiler, assembler, library generator, linker and configurator give nothing. 1 when the
// library generator's or configurator's default option string cannot be loaded (result unchanged),
// else 0. Renamed options are reported to `summary`.
[[nodiscard]] int RunCrossFamilyConversion(const CrossFamilyConversion& conversion, std::string_view phaseName,
                                           const OptionLines& optionStrings, std::string& result,
                                           ChangeSummary& summary);

}  // namespace vivo
