#include "change/conversion_definitions.h"

#include <string>

#include "change/show_message.h"
#include "options/option_string.h"
#include "options/plain_text.h"
#include "platform/message_box.h"
#include "platform/module_path.h"
#include "platform/private_profile.h"
#include "platform/resource_library.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"

namespace vivo {
namespace {

// What a missing key reads as: an impossible record, so that a section without its closing empty
// key is told apart from one that ends normally.
constexpr std::string_view kMissingKey = "*";
// Values are read through a buffer of this size.
constexpr std::size_t kValueBufferSize = 255;
constexpr std::string_view kDefinitionFileName = "TC.INI";
constexpr std::string_view kWhitespace = " \t\r\n\v\f";

// The toolchain names a change may start from; the first is the only target.
constexpr std::array<uint32_t, 5> kToolchainNameIds = {text::kToolchainName, text::kPexaToolchainName,
                                                      text::kTessaroToolchainName, text::kSarnokiLumoToolchainName,
                                                      text::kVeltoraLumoToolchainName};

// Names whose first word pair is followed by a comma inside the name itself:
// "Sarnoki Lumo,Lumo/T Standard Toolchain".
constexpr std::array<std::string_view, 2> kCommaNamePrefixes = {"Sarnoki Lumo", "Veltora Lumo"};

// Message 2008 in a box, from the Japanese resource library when it lies beside the plug-in.
void ShowReadingError() {
    const ResourceScope japanese(platform::PluginFilePath(platform::ResourceLibraryFileName(true)));
    ShowErrorMessage(text::kReadingError, platform::kMessageBoxOk);
}

}  // namespace

std::optional<ConversionKind> ConversionKindOfName(std::string_view name) {
    for (int32_t kind = 0; kind < kConversionKindCount; ++kind)
        if (kConversionDefinitions[kDefinitionSectionCount + static_cast<std::size_t>(kind)] == name)
            return static_cast<ConversionKind>(kind);
    return std::nullopt;
}

std::optional<DefinitionRecord> ParseDefinitionRecord(std::string_view value) {
    StringList fields;
    SplitList(value, ",", fields);
    if (fields.size() >= 2) {
        for (std::string_view prefix : kCommaNamePrefixes) {
            if (fields[0] == prefix) {
                fields[0] += ',';
                fields[0] += fields[1];
                fields.erase(fields.begin() + 1);
                break;
            }
        }
    }
    if (fields.size() != 5) return std::nullopt;
    for (std::string& field : fields) field = std::string(Trim(field, kWhitespace));
    const std::optional<ConversionKind> kind = ConversionKindOfName(fields[4]);
    if (!kind) return std::nullopt;
    return DefinitionRecord{fields[0], fields[1], fields[2], fields[3], *kind};
}

DefinitionList ReadDefinitionList(std::string_view iniPath) {
    DefinitionList list;
    const platform::ProfileFile file(iniPath);
    for (std::size_t section = 0; section < kDefinitionSectionCount; ++section) {
        for (int key = 1;; ++key) {
            const std::string value =
                file.ReadString(kConversionDefinitions[section], std::to_string(key), kMissingKey, kValueBufferSize);
            if (value.empty()) break;
            std::optional<DefinitionRecord> record;
            if (value != kMissingKey) record = ParseDefinitionRecord(value);
            if (!record) {
                list.readingError = true;
                return list;
            }
            list.records.push_back(std::move(*record));
        }
    }
    return list;
}

std::optional<ConversionKind> MatchDefinition(const std::vector<DefinitionRecord>& records, std::string_view fromName,
                                       std::string_view fromVersion, std::string_view toName,
                                       std::string_view toVersion) {
    for (const DefinitionRecord& r : records)
        if (r.fromVersion == fromVersion && r.fromName == fromName && r.toVersion == toVersion &&
            r.toName == toName)
            return r.kind;
    return std::nullopt;
}

std::optional<ConversionKind> FindConversion(const VivoToolchainRecord* from, const VivoToolchainRecord* to) {
    if (!IsWellFormed(from) || !IsWellFormed(to)) return std::nullopt;

    std::array<std::string, kToolchainNameIds.size()> names;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::optional<std::string> name = LoadString(kToolchainNameIds[i]);
        if (!name) return std::nullopt;
        names[i] = std::move(*name);
    }
    const std::string_view fromName = from->name;
    const std::string_view toName = to->name;
    bool knownSource = false;
    for (const std::string& name : names) knownSource = knownSource || fromName == name;
    if (!knownSource || toName != names[0]) return std::nullopt;

    const DefinitionList list = ReadDefinitionList(platform::PluginFilePath(kDefinitionFileName));
    if (list.readingError) ShowReadingError();
    return MatchDefinition(list.records, fromName, from->version, toName, to->version);
}

int32_t CanUpgradeToolchain(const VivoToolchainRecord* from, const VivoToolchainRecord* to,
                            ChangeSummary& summary) {
    if (FindConversion(from, to)) return 0;
    summary.AddSummaryMessage(text::kReadingError);
    return 1;
}

}  // namespace vivo
