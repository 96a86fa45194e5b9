// Lumo V7 to KZ 1.01.00: the Lumo V6 conversion, except that the compiler keeps the language item.

#include "change/conversion_table.h"
#include "change/cross_family.h"
#include "change/shared_conversion_rows.h"

namespace vivo {
namespace {

// Lumo V7's compiler has the language option that V6 lacks; its row stands after the inline-file path.
constexpr std::size_t kLanguageRowPosition = 5;
constexpr std::array kLanguageRow = {
    Kept("[S|LANG|", R"("-lang" in "C/C++ -> Source")"),
};

constexpr ConversionRows kLumoV6Compiler(kLumoV6CompilerRows);
constexpr ConversionTable kCompilerTable{{kLumoV6Compiler.first(kLanguageRowPosition), kLanguageRow,
                                          kLumoV6Compiler.subspan(kLanguageRowPosition)}};
static_assert(kCompilerTable.size() == 21);

}  // namespace

int ChangeLumoV70000toKZV10100(std::string_view phaseName, const OptionLines& optionStrings,
                               std::string& result, ChangeSummary& summary) {
    return ConvertLumoToKZ(kCompilerTable, phaseName, optionStrings, result, summary);
}

}  // namespace vivo
