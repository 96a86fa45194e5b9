#pragma once
// Item rewrites that the cross-family conversions run after their tables, where a rename is not
// enough. None of them fails: an item they cannot read stays as it is.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "options/option_string.h"
#include "summary/change_summary.h"

namespace vivo {

// The old toolchains' object extensions on output items ("[S|OUTPUT|"..." and "[S|OUTPUTPATH|"..."):
//   [S|OUTPUTPATH|"$(CONFIGDIR)\$(FILELEAF).r30"]  ->  [S|OUTPUTPATH|"$(CONFIGDIR)\$(FILELEAF).obj"]
// ".i" (preprocessed source) becomes ".p", or ".pp" when "[S|LANG|CPP]" or "[S|LANG|ECPP]" is an item.
void ConvertOutputFileExtensions(std::vector<std::string>& items);

// The assembler options that the compiler carries in one item, each inner item's bracket doubled:
//   [S|ASSEMBLY|"[S|INCLUDE|""C:\a b""]] [B|HEAP|1]]"]
//   -> [S|ASSEMBLY|"[V|VERSION|1]] [S|INCLUDE|""C:\a b""]] [S|DEFINE|__HEAP__=1]]"]
// Reads the first "[S|ASSEMBLY|" item of the first source line; appends nothing when there is none.
// The inner items keep their options, so nothing reaches `summary`.
void ConvertAssemblyItem(const OptionLines& sourceLines, std::vector<std::string>& targetItems,
                         ChangeSummary& summary);

// The three numbers of an RTOS version key name read as "V.%d.%d Release %d" by scanf: reading stops
// at the first mismatch and numbers not read stay 0 ("V.1.0 Release 3" -> 1, 0, 3; "V.2x" -> 2, 0, 0).
[[nodiscard]] std::array<int, 3> ReadRtosVersionNumbers(std::string_view name);

// The installed real-time OS from the registry below "SOFTWARE\Veltora\RTOS":
//   [S|RTOSPRODUCT|"Orvik"] [S|RTOSVERSION|"V.1.0 Release 0"]
// the product item alone when no version key name holds a number other than 0, empty text when the
// key or the product is missing.
[[nodiscard]] std::string GetRtosItems();

// Merges the items of the old linker, librarian and S-type converter into the KZ linker's: library
// lists with their directories folded into each name, the librarian's member list as an input item
// with "[S|FORM|LIBRARY=U]", and of two or more outputs the ".abs" ones removed (the S-type output
// wins, "[S|FORM|STYPE]" unless a FORM item exists).
//   [S|INPUTLIBRARY|-D="C:\lib"|-L=a.lib]  ->  [S|INPUTLIBRARY|"C:\lib\a.lib"]
void ConvertLibraryAndOutputItems(std::vector<std::string>& items);

// The KZ linker's CRC item has the output kind "DEFAULT" as its second value, and its vector item
// takes an unquoted value:
//   [S|CRC|CCITT|2000] -> [S|CRC|CCITT|DEFAULT|2000];  [S|VECT|"_dummy"] -> [S|VECT|_dummy]
// A CRC item without a value stays as it is.
void ConvertCrcAndVectItems(std::vector<std::string>& items);

}  // namespace vivo
