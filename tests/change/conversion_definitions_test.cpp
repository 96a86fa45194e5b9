// Finding a toolchain change in the definition records of TC.ini.
#include <gtest/gtest.h>

#include "change/conversion_definitions.h"
#include "change/engine_test_support.h"

namespace vivo::test {
namespace {

const std::string kSections = "[Upgrade definition]\n1=\n[Downgrade definition]\n1=\n";
const std::string kReadingErrorBox = "ERROR\n\"Tc.ini\" file reading error.\r\n\r\n\n";

struct LookupRow {
    const char* name;
    std::string ini;  // TC.ini beside the plug-in; none when empty
    const char* fromName;
    const char* fromVersion;
    const char* toName;
    const char* toVersion;
    int32_t expected;  // CanUpgradeToolchain's result
    bool box;          // the reading-error box is shown
};

const LookupRow kLookupRows[] = {
    {"record with its closing key",
     "[Same version definition]\n1=Veltora KZ Standard Toolchain,1.00.00,Veltora KZ Standard Toolchain,1.00.00,Copy\n"
     "2=\n" + kSections,
     kKZ, "1.00.00", kKZ, "1.00.00", 0, false},
    {"closing key missing: box, records before it still match",
     "[Same version definition]\n1=Veltora KZ Standard Toolchain,1.00.00,Veltora KZ Standard Toolchain,1.00.00,Copy\n"
     "2=Veltora KZ Standard Toolchain,1.00.01,Veltora KZ Standard Toolchain,1.00.01,Copy\n"
     "3=Veltora KZ Standard Toolchain,1.01.00,Veltora KZ Standard Toolchain,1.01.00,Copy\n" + kSections,
     kKZ, "1.00.01", kKZ, "1.00.01", 0, true},
    {"missing section",
     "[Same version definition]\n1=Veltora KZ Standard Toolchain,1.00.00,Veltora KZ Standard Toolchain,1.00.00,Copy\n"
     "2=\n",
     kKZ, "1.00.00", kKZ, "1.00.00", 0, true},
    {"blanks around the commas are trimmed",
     "[Same version definition]\n1=Veltora KZ Standard Toolchain , 1.00.00 ,\tVeltora KZ Standard Toolchain,"
     "  1.00.00 , Copy\n2=\n" + kSections,
     kKZ, "1.00.00", kKZ, "1.00.00", 0, false},
    {"adjacent commas make no empty field",
     "[Same version definition]\n1=Veltora KZ Standard Toolchain,,Veltora KZ Standard Toolchain,1.00.00,Copy\n"
     "2=\n" + kSections,
     kKZ, "", kKZ, "1.00.00", 1, true},
    {"Sarnoki Lumo name joined again",
     "[Same version definition]\n1=\n[Upgrade definition]\n1=Sarnoki Lumo,Lumo/T Standard Toolchain,6.00.00,"
     "Veltora KZ Standard Toolchain,1.01.00,ChangeLumoV60000toKZV10100\n2=\n[Downgrade definition]\n1=\n",
     kSarnokiLumo, "6.00.00", kKZ, "1.01.00", 0, false},
    {"Veltora Lumo name joined again",
     "[Same version definition]\n1=\n[Upgrade definition]\n1=Veltora Lumo,Lumo/T Standard Toolchain,7.00.00,"
     "Veltora KZ Standard Toolchain,1.01.00,ChangeLumoV70000toKZV10100\n2=\n[Downgrade definition]\n1=\n",
     kVeltoraLumo, "7.00.00", kKZ, "1.01.00", 0, false},
    {"joining needs the name before trimming",
     "[Same version definition]\n1=\n[Upgrade definition]\n1=Sarnoki Lumo ,Lumo/T Standard Toolchain,6.00.00,"
     "Veltora KZ Standard Toolchain,1.01.00,ChangeLumoV60000toKZV10100\n2=\n[Downgrade definition]\n1=\n",
     kSarnokiLumo, "6.00.00", kKZ, "1.01.00", 1, true},
    {"six fields of another name",
     "[Same version definition]\n1=\n[Upgrade definition]\n1=Veltora Pexa,Standard Toolchain,5.45.00,"
     "Veltora KZ Standard Toolchain,1.01.00,ChangePexaV54500toKZV10100\n2=\n[Downgrade definition]\n1=\n",
     kPexa, "5.45.00", kKZ, "1.01.00", 1, true},
    {"unknown conversion name",
     "[Same version definition]\n1=Veltora KZ Standard Toolchain,1.00.00,Veltora KZ Standard Toolchain,1.00.00,"
     "Duplicate\n2=\n" + kSections,
     kKZ, "1.00.00", kKZ, "1.00.00", 1, true},
    {"no TC.ini", "", kKZ, "1.00.00", kKZ, "1.00.00", 1, true},
    {"no record for the change", ShippedDefinitions(), kKZ, "1.00.01", kKZ, "1.00.00", 1, false},
    {"versions compare as exact text", ShippedDefinitions(), kKZ, "1.0.0", kKZ, "1.00.01", 1, false},
    {"unknown source: TC.ini not read", "", "Veltora Nivo Family Standard Toolchain", "1.00.00", kKZ, "1.00.00",
     1, false},
    {"target not KZ: TC.ini not read", "", kKZ, "1.00.00", kPexa, "5.45.00", 1, false},
};

TEST(ConversionDefinitions, ReadingRulesThroughCanUpgradeToolchain) {
    for (const LookupRow& row : kLookupRows) {
        SCOPED_TRACE(row.name);
        EnginePlugin engine(row.ini);
        const VivoToolchainRecord from{12, row.fromName, row.fromVersion};
        const VivoToolchainRecord to{12, row.toName, row.toVersion};
        testing::internal::CaptureStderr();
        const int32_t rc = VIVO_CALL_EXPORT(engine.plugin(), CanUpgradeToolchain)(&from, &to);
        const std::string box = testing::internal::GetCapturedStderr();
        EXPECT_EQ(rc, row.expected);
        EXPECT_EQ(box, row.box ? kReadingErrorBox : "");
    }
}

TEST(ConversionDefinitions, ReadingErrorBoxFromTheJapaneseResourceLibrary) {
    EnginePlugin engine("");
    const std::filesystem::path japanese = BuiltPluginFile().parent_path() / "ResVivoJp.so";
    std::filesystem::copy_file(japanese, engine.dir().path() / japanese.filename());
    const VivoToolchainRecord record{12, kKZ, "1.00.00"};
    testing::internal::CaptureStderr();
    EXPECT_EQ(VIVO_CALL_EXPORT(engine.plugin(), CanUpgradeToolchain)(&record, &record), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR\n\"Tc.ini\" \xE3\x83\x95\xE3\x82\xA1\xE3\x82\xA4\xE3\x83\xAB\xE3\x81\xAE\xE8\xAA\xAD"
              "\xE3\x81\xBF\xE8\xBE\xBC\xE3\x81\xBF\xE3\x82\xA8\xE3\x83\xA9\xE3\x83\xBC\xE3\x81\xA7\xE3\x81\x99"
              "\xE3\x80\x82\r\n\r\n\n");
}

TEST(ConversionDefinitions, BadRecordsFailWithoutReadingTheFile) {
    EnginePlugin engine("");  // a read would show the box
    const VivoToolchainRecord good{12, kKZ, "1.00.00"};
    const VivoToolchainRecord wrongSize{16, kKZ, "1.00.00"};
    const VivoToolchainRecord noVersion{12, kKZ, nullptr};
    testing::internal::CaptureStderr();
    EXPECT_EQ(VIVO_CALL_EXPORT(engine.plugin(), CanUpgradeToolchain)(&wrongSize, &good), 1);
    EXPECT_EQ(VIVO_CALL_EXPORT(engine.plugin(), CanUpgradeToolchain)(&good, &noVersion), 1);
    EXPECT_EQ(VIVO_CALL_EXPORT(engine.plugin(), CanUpgradeToolchain)(nullptr, &good), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(ConversionDefinitions, FailureAddsMessage2008EveryTime) {
    ChangeSummary summary;
    const VivoToolchainRecord from{12, "Veltora Nivo Family Standard Toolchain", "1.00.00"};
    const VivoToolchainRecord to{12, kKZ, "1.00.00"};
    EXPECT_EQ(CanUpgradeToolchain(&from, &to, summary), 1);
    EXPECT_EQ(CanUpgradeToolchain(&from, &to, summary), 1);
    EXPECT_EQ(summary.messageIds, (std::vector<uint32_t>{2008, 2008}));
    EXPECT_TRUE(summary.lines.empty());
}

// The first record for a change wins: here the "Same version definition" record's "Copy", which
// answers every phase by its own name, over the upgrade's linker selection.
TEST(ConversionDefinitions, FirstRecordWins) {
    EnginePlugin engine(
        "[Same version definition]\n1=Veltora KZ Standard Toolchain,1.01.00,Veltora KZ Standard Toolchain,1.02.00,Copy\n"
        "2=\n[Upgrade definition]\n"
        "1=Veltora KZ Standard Toolchain,1.01.00,Veltora KZ Standard Toolchain,1.02.00,Upgrade10100to10200\n"
        "2=\n[Downgrade definition]\n1=\n");
    engine.Begin({kKZ, "1.01.00", "1.02.00"});
    const std::string phases = NulList({std::string(kCompiler) + "|1", std::string(kLinker) + "|1"});
    const BufferResult r = CallGuarded(64, [&](char* b, int32_t* n) {
        return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhases)("", "", "\0", phases.c_str(), kLinker, b, n);
    });
    ExpectDelivered(r, std::string(kLinker) + '\0', 15);
}

// Every change the shipped TC.ini offers, with the kind it runs.
TEST(ConversionDefinitions, ShippedDefinitionsOfferEveryKind) {
    struct Row {
        const char* fromName;
        const char* fromVersion;
        const char* toVersion;
        int32_t kind;
    };
    const Row rows[] = {
        {kKZ, "1.00.00", "1.00.00", 0},  {kKZ, "1.00.01", "1.00.01", 0},  {kKZ, "1.01.00", "1.01.00", 0},
        {kKZ, "1.02.00", "1.02.00", 0},  {kKZ, "1.02.01", "1.02.01", 0},  {kKZ, "1.00.00", "1.00.01", 1},
        {kPexa, "5.45.00", "1.01.00", 2}, {kPexa, "6.00.00", "1.01.00", 3}, {kSarnokiLumo, "6.00.00", "1.01.00", 4},
        {kVeltoraLumo, "7.00.00", "1.01.00", 5}, {kTessaro, "9.04.00", "1.01.00", 6},
        {kKZ, "1.00.00", "1.02.00", 7},  {kKZ, "1.01.00", "1.02.00", 8},  {kKZ, "1.02.00", "1.01.00", 9},
        {kKZ, "1.00.01", "1.02.00", 10}, {kKZ, "1.00.00", "1.02.01", 11}, {kKZ, "1.00.01", "1.02.01", 12},
        {kKZ, "1.01.00", "1.02.01", 13}, {kKZ, "1.02.00", "1.02.01", 14}, {kKZ, "1.00.00", "1.01.00", 15},
        {kKZ, "1.00.01", "1.01.00", 16}, {kKZ, "1.02.01", "1.02.00", 17}, {kKZ, "1.02.01", "1.01.00", 18},
    };
    const DefinitionList list = ReadDefinitionList(std::string(VIVO_SOURCE_DIR) + "/src/resources/TC.ini");
    EXPECT_FALSE(list.readingError);
    EXPECT_EQ(list.records.size(), std::size(rows));
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.fromName) + " " + row.fromVersion + " to " + row.toVersion);
        EXPECT_EQ(MatchDefinition(list.records, row.fromName, row.fromVersion, kKZ, row.toVersion), row.kind);
    }
}

}  // namespace
}  // namespace vivo::test
