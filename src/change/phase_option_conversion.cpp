#include "change/phase_option_conversion.h"

#include <algorithm>
#include <array>
#include <optional>

#include "change/conversion_definitions.h"
#include "options/option_string.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"

namespace vivo {
namespace {

// Values of carried flags that the source lacks; other absent keys are left out.
struct DefaultValue {
    std::string_view key;
    std::string_view value;
};
constexpr std::array<DefaultValue, 2> kDefaults = {{
    {"B|DEBUG", "0"},
    {"B|LISTFILE", "1"},
}};

PhaseOptionConversion Failure(int32_t code, bool clearsLength) { return {code, clearsLength, {}}; }

std::optional<StringList> KeyList(uint32_t id) {
    const std::optional<std::string> entry = LoadString(id);
    if (!entry) return std::nullopt;
    StringList keys;
    SplitList(*entry, "\n", keys);
    return keys;
}

// "...\a.src"" -> "...\a.obj"": the compiler's output file becomes the assembler's object file.
std::string ObjectPath(std::string_view path) {
    const size_t dot = path.rfind('.');
    std::string object(dot == std::string_view::npos ? std::string_view{} : path.substr(0, dot));
    object += ".obj\"";
    return object;
}

// True when the string-table list `id` (lines separated by newline) holds the line a "|" b; false when
// the entry cannot be loaded.
bool IsListedPair(uint32_t id, std::string_view a, std::string_view b) {
    const std::optional<StringList> lines = KeyList(id);
    if (!lines) return false;
    std::string pair(a);
    pair += '|';
    pair += b;
    return std::find(lines->begin(), lines->end(), pair) != lines->end();
}

}  // namespace

PhaseOptionConversion ConvertPhaseOptionString(const VivoToolchainRecord& toolchain, std::string_view sourceTool,
                                               std::string_view targetTool, std::string_view sourceOptions) {
    const std::optional<std::string> ownName = LoadString(text::kToolchainName);
    if (!IsWellFormed(&toolchain) || !ownName || toolchain.name != *ownName)
        return Failure(kConversionOtherToolchain, true);
    if (!IsListedPair(text::kConvertibleToolPairs, sourceTool, targetTool)) return Failure(kConversionPairNotOffered, true);

    OptionSet source;
    if (!ParseOptionString(sourceOptions, source)) return Failure(kConversionFailed, true);
    const auto output = source.find("S|OUTPUT");
    if (output == source.end() || output->second != "SRC") return Failure(kConversionNoAssemblyOutput, true);

    std::optional<StringList> keys = KeyList(text::kCarriedKeys);
    if (!keys) return Failure(kConversionFailed, false);

    std::string target;
    if (const auto assembly = source.find("S|ASSEMBLY"); assembly != source.end()) {
        const std::string embedded = UndoubleEscapes(assembly->second, kValueEscapes);
        target = embedded.size() >= 2 ? embedded.substr(1, embedded.size() - 2) : std::string();
        keys = KeyList(text::kKeysBesideAssembly);
        if (!keys) return Failure(kConversionFailed, false);
    }

    for (const std::string& key : *keys) {
        std::string value;
        if (const auto found = source.find(key); found != source.end()) {
            value = key == "S|OUTPUTPATH" ? ObjectPath(found->second) : found->second;
        } else {
            const auto fallback = std::find_if(kDefaults.begin(), kDefaults.end(),
                                               [&](const DefaultValue& d) { return d.key == key; });
            if (fallback == kDefaults.end()) continue;
            value = std::string(fallback->value);
        }
        AppendWithSeparator(target, FormatOptionItem(key, value), ' ');
    }
    return {kConversionDone, false, std::move(target)};
}

}  // namespace vivo
