// Reading TC.ini's definition records through CanUpgradeToolchain, with the reading-error box that the
// POSIX message box writes to standard error.
#include <gtest/gtest.h>

#include <filesystem>

#include "change/engine_test_support.h"

namespace vivo::test {
namespace {

const std::string kBox = "ERROR\n\"Tc.ini\" file reading error.\r\n\r\n\n";
const std::string kRest = "[Upgrade definition]\n1=\n[Downgrade definition]\n1=\n";
const std::string kKZ100 = "Veltora KZ Standard Toolchain,1.00.00,";

// TC.ini with `records` in "Same version definition" (closed by its empty key) and empty other sections.
std::string Same(const std::string& records) { return "[Same version definition]\n" + records + kRest; }
// TC.ini with one upgrade record to KZ 1.01.00.
std::string Up(const std::string& fromAndVersion, const char* conversion) {
    return "[Same version definition]\n1=\n[Upgrade definition]\n1=" + fromAndVersion +
           "Veltora KZ Standard Toolchain,1.01.00," + conversion + "\n2=\n[Downgrade definition]\n1=\n";
}

// Columns: name, TC.ini (none when empty), the source and target records, CanUpgradeToolchain's result,
// whether the reading-error box is shown, the size of the source record. A name with a comma is joined
// again in the end-to-end conversions of the Lumo families (tests/e2e).
struct LookupRow {
    const char* name; std::string ini; const char *fromName, *fromVersion, *toName, *toVersion;
    int32_t expected; bool box; uint32_t size = 12;
};

const LookupRow kLookupRows[] = {
    {"record with its closing key", Same("1=" + kKZ100 + kKZ100 + "Copy\n2=\n"), kKZ, "1.00.00", kKZ, "1.00.00", 0, false},
    {"closing key missing: box, records before it still match",
     Same("1=" + kKZ100 + kKZ100 + "Copy\n2=Veltora KZ Standard Toolchain,1.00.01,Veltora KZ Standard Toolchain,1.00.01,"
          "Copy\n3=Veltora KZ Standard Toolchain,1.01.00,Veltora KZ Standard Toolchain,1.01.00,Copy\n"),
     kKZ, "1.00.01", kKZ, "1.00.01", 0, true},
    {"missing section", "[Same version definition]\n1=" + kKZ100 + kKZ100 + "Copy\n2=\n", kKZ, "1.00.00", kKZ, "1.00.00", 0, true},
    {"blanks around the commas are trimmed",
     Same("1=Veltora KZ Standard Toolchain , 1.00.00 ,\tVeltora KZ Standard Toolchain,  1.00.00 , Copy\n2=\n"), kKZ,
     "1.00.00", kKZ, "1.00.00", 0, false},
    {"adjacent commas make no empty field", Same("1=Veltora KZ Standard Toolchain,," + kKZ100 + "Copy\n2=\n"), kKZ, "", kKZ, "1.00.00", 1, true},
    {"joining needs the name before trimming",
     Up("Sarnoki Lumo ,Lumo/T Standard Toolchain,6.00.00,", "ChangeLumoV60000toKZV10100"), kSarnokiLumo, "6.00.00", kKZ,
     "1.01.00", 1, true},
    {"six fields of another name", Up("Veltora Pexa,Standard Toolchain,5.45.00,", "ChangePexaV54500toKZV10100"), kPexa,
     "5.45.00", kKZ, "1.01.00", 1, true},
    {"unknown conversion name", Same("1=" + kKZ100 + kKZ100 + "Duplicate\n2=\n"), kKZ, "1.00.00", kKZ, "1.00.00", 1, true},
    {"six fields", Same("1=" + kKZ100 + kKZ100 + "Copy,x\n2=\n"), kKZ, "1.00.00", kKZ, "1.00.00", 1, true},
    {"no TC.ini", "", kKZ, "1.00.00", kKZ, "1.00.00", 1, true},
    {"no record for the change", ShippedDefinitions(), kKZ, "1.00.01", kKZ, "1.00.00", 1, false},
    {"versions compare as exact text", ShippedDefinitions(), kKZ, "1.0.0", kKZ, "1.00.01", 1, false},
    {"unknown source: TC.ini not read", "", "Veltora Nivo Family Standard Toolchain", "1.00.00", kKZ, "1.00.00", 1, false},
    {"target not KZ: TC.ini not read", "", kKZ, "1.00.00", kPexa, "5.45.00", 1, false},
    {"record of another size: TC.ini not read", "", kKZ, "1.00.00", kKZ, "1.00.00", 1, false, 16},
    {"record without version: TC.ini not read", "", kKZ, nullptr, kKZ, "1.00.00", 1, false},
};

TEST(ConversionDefinitions, ReadingRulesThroughCanUpgradeToolchain) {
    for (const LookupRow& row : kLookupRows) {
        SCOPED_TRACE(row.name);
        EnginePlugin engine(row.ini);
        const VivoToolchainRecord from{row.size, row.fromName, row.fromVersion}, to{12, row.toName, row.toVersion};
        testing::internal::CaptureStderr();
        EXPECT_EQ(VIVO_CALL_EXPORT(engine.plugin(), CanUpgradeToolchain)(&from, &to), row.expected);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), row.box ? kBox : "");
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

}  // namespace
}  // namespace vivo::test
