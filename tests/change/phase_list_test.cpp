// Which old phases supply the settings of each new phase.
#include <gtest/gtest.h>

#include "change/engine_test_support.h"

namespace vivo::test {
namespace {

const Change kFromPexaV545{kPexa, "5.45.00", "1.01.00"};
constexpr const char* kPexaLinker = "Veltora Pexa Linker";
constexpr const char* kPexaLibrarian = "Veltora Pexa Librarian";
constexpr const char* kPexaConverter = "Veltora Pexa Stype Converter";

auto AskPhases(const EnginePlugin& engine, std::string states, std::string phases, const char* phaseName) {
    return [&engine, states, phases, phaseName](char* b, int32_t* n) {
        return VIVO_CALL_EXPORT(engine.plugin(), UpgradePhases)("", "", states.c_str(), phases.c_str(), phaseName, b, n);
    };
}

// Pexa V5.45: the state of the old linker, librarian and S-type converter (null: no line; "0"; or
// another state) decides which of them supply the KZ linker. One row per code, 9 * linker +
// 3 * librarian + converter.
struct DecisionRow {
    int code;
    const char* linker;
    const char* librarian;
    const char* converter;
    StringList answer;
};
const DecisionRow kDecisionRows[] = {
    {0, nullptr, nullptr, nullptr, {}},
    {1, nullptr, nullptr, "0", {kPexaConverter}},
    {2, nullptr, nullptr, "1", {kPexaConverter}},
    {3, nullptr, "0", nullptr, {kPexaLibrarian}},
    {4, nullptr, "0", "0", {kPexaLibrarian}},
    {5, nullptr, "0", "1", {kPexaConverter}},
    {6, nullptr, "1", nullptr, {kPexaLibrarian}},
    {7, nullptr, "1", "0", {kPexaLibrarian}},
    {8, nullptr, "1", "1", {kPexaLibrarian}},
    {9, "0", nullptr, nullptr, {kPexaLinker}},
    {10, "0", nullptr, "0", {kPexaLinker, kPexaConverter}},
    {11, "0", nullptr, "1", {kPexaConverter}},
    {12, "0", "0", nullptr, {kPexaLinker}},
    {13, "0", "0", "0", {kPexaLinker, kPexaConverter}},
    {14, "0", "0", "1", {kPexaConverter}},
    {15, "0", "1", nullptr, {kPexaLibrarian}},
    {16, "0", "1", "0", {kPexaLibrarian}},
    {17, "0", "1", "1", {kPexaLibrarian}},
    {18, "1", nullptr, nullptr, {kPexaLinker}},
    {19, "1", nullptr, "0", {kPexaLinker}},
    {20, "1", nullptr, "1", {kPexaLinker, kPexaConverter}},
    {21, "1", "0", nullptr, {kPexaLinker}},
    {22, "1", "0", "0", {kPexaLinker}},
    {23, "1", "0", "1", {kPexaLinker, kPexaConverter}},
    {24, "1", "1", nullptr, {kPexaLinker}},
    {25, "1", "1", "0", {kPexaLinker}},
    {26, "1", "1", "2", {kPexaLinker, kPexaConverter}},
};

// An empty list is two NULs.
std::string ListOf(const StringList& names) { return names.empty() ? std::string(2, '\0') : NulListOf(names); }

TEST(PhaseList, PexaV545LinkerDecisionTable) {
    EnginePlugin engine;
    engine.Begin(kFromPexaV545);
    for (const DecisionRow& row : kDecisionRows) {
        SCOPED_TRACE("code " + std::to_string(row.code));
        // Other phases and further fields around the three tools do not count.
        std::string states = std::string("Veltora Pexa C Compiler|1") + '\0';
        if (row.converter) states += std::string(kPexaConverter) + "|" + row.converter + "|x" + '\0';
        if (row.librarian) states += std::string(kPexaLibrarian) + "|" + row.librarian + '\0';
        if (row.linker) states += std::string(kPexaLinker) + "|" + row.linker + '\0';
        states += '\0';
        ExpectRetryDelivers(AskPhases(engine, states, std::string(1, '\0'), kLinker), ListOf(row.answer));
    }
}

TEST(PhaseList, PexaV545StateLineWithOneFieldFails) {
    EnginePlugin engine;
    engine.Begin(kFromPexaV545);
    const std::string states = NulList({"Veltora Pexa Linker|0", "Veltora Pexa Librarian"});
    ExpectWritesNothing(AskPhases(engine, states, std::string(1, '\0'), kLinker), 1);
}

struct AnswerRow {
    const char* name;
    Change change;
    const char* phase;
    std::string phaseList;
    std::string expected;  // delivered bytes: a name and one NUL, or a NUL-separated list
};

const std::string kKZPhases = NulList({std::string(kLibraryGenerator) + "|1", std::string(kCompiler) + "|1",
    std::string(kAssembler) + "|1", std::string(kLinker) + "|1", "Unknown Tool|1", kConfigurator});
const Change kKZ10100to10200{kKZ, "1.01.00", "1.02.00"};

const AnswerRow kAnswerRows[] = {
    {"Tessaro compiler", {kTessaro, "9.04.00", "1.01.00"}, kCompiler, "\0", ListOf({"Veltora Tessaro C/C++ Compiler"})},
    {"Lumo V6 linker", {kSarnokiLumo, "6.00.00", "1.01.00"}, kLinker, "\0", ListOf({"Sarnoki Bindex"})},
    {"Lumo V7 linker", {kVeltoraLumo, "7.00.00", "1.01.00"}, kLinker, "\0", ListOf({kLinker})},
    {"Lumo V6 configurator: none", {kSarnokiLumo, "6.00.00", "1.01.00"}, kConfigurator, "\0", ListOf({})},
    {"Pexa V5.45 library generator", kFromPexaV545, kLibraryGenerator, "\0", ListOf({"Veltora Pexa C Compiler"})},
    {"cross-family unknown phase", {kTessaro, "9.04.00", "1.01.00"}, "Unknown Tool", "\0", ListOf({})},
    {"in-family compiler", kKZ10100to10200, kCompiler, kKZPhases, ListOf({kCompiler, kLinker})},
    {"in-family library generator", kKZ10100to10200, kLibraryGenerator, kKZPhases, ListOf({kLibraryGenerator, kLinker})},
    {"in-family linker: every known tool", kKZ10100to10200, kLinker, kKZPhases,
     ListOf({kLibraryGenerator, kCompiler, kAssembler, kLinker})},
    {"in-family assembler: its own name", kKZ10100to10200, kAssembler, kKZPhases, std::string(kAssembler) + '\0'},
    {"downgrade 1.02.00 to 1.01.00: own name", {kKZ, "1.02.00", "1.01.00"}, kLinker, kKZPhases, std::string(kLinker) + '\0'},
    {"copy: own name", {kKZ, "1.00.00", "1.00.00"}, kCompiler, kKZPhases, std::string(kCompiler) + '\0'},
    {"in-family, no candidate", kKZ10100to10200, kCompiler, NulList({"Veltora KZ Assembler|1"}), ListOf({})},
};

TEST(PhaseList, Answers) {
    EnginePlugin engine;
    for (const AnswerRow& row : kAnswerRows) {
        SCOPED_TRACE(row.name);
        engine.Begin(row.change);
        // Both forms write back the number of bytes they deliver.
        ExpectRetryDelivers(AskPhases(engine, std::string(1, '\0'), row.phaseList, row.phase), row.expected);
    }
}

TEST(PhaseList, BeforeAnyChangeEveryPhaseIsItsOwnAnswer) {
    EnginePlugin engine;
    ExpectRetryDelivers(AskPhases(engine, std::string(1, '\0'), kKZPhases, kLinker), std::string(kLinker) + '\0');
}

}  // namespace
}  // namespace vivo::test
