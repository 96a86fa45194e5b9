// Benchmarks through the exports, called as the host calls them (the exports are ordinary functions
// in the plug-in's objects):
//   Export/<name>          one call of every export on a representative input;
//   Reference/...          the yardsticks the report divides by, measured in the same run;
//   Change/<family>        a whole toolchain change of an example project, in the host's order;
//   Grow/<operation>/<n>   the option-string operations on option strings of n bytes (1 KB to 1 MB),
//                          so that time per byte can be compared across sizes.
//
//   vivo_export_benchmark --benchmark_format=json      (build with -DCMAKE_BUILD_TYPE=Release)
// scripts/performance.py runs it and writes docs/PERFORMANCE.md.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "options/option_string.h"
#include "whole_change.h"
#include "vivo/vivo.h"

namespace {

using vivo::benchmarks::NulList;
using vivo::benchmarks::kKzToolchain;

constexpr const char* kCompiler = "Veltora KZ C/C++ Compiler";
constexpr const char* kAssembler = "Veltora KZ Assembler";
constexpr const char* kLinker = "Veltora Bindex";
constexpr VivoToolchainRecord kKz = {12, kKzToolchain, "1.02.01"};
constexpr VivoToolchainRecord kKzOld = {12, kKzToolchain, "1.00.00"};
const int kReserved = 0;

// A KZ project's compiler and linker option strings, as the IDE keeps them.
const std::string kCompilerOptions =
    "[V|VERSION|1] [S|CPU|KZ600] [S|INCLUDE|\"$(PROJDIR)\\inc\"|\"C:\\Program Files\\Veltora\\KZ\\inc\"] "
    "[S|DEFINE|BOARD_REV=2|NDEBUG|\"GREETING=hello world\"] [S|OUTPUT|SRC] "
    "[S|OUTPUTPATH|\"$(CONFIGDIR)\\$(FILELEAF).obj\"] [B|DEBUG|1] [B|OPTIMIZE|1] [S|OPTIMIZEFOR|SPEED] "
    "[B|SKIPDEPENDENCY|1] [N|DEPENDSCAN|1] [S|ASSEMBLY|\"[S|INCLUDE|\"\"$(PROJDIR)\\asm inc\"\"]] [B|DEBUG|1]]\"]";
const std::string kLinkerOptions =
    "[V|VERSION|6] [S|INPUT|\"$(CONFIGDIR)\\ncrt0.obj\"|\"$(CONFIGDIR)\\main.obj\"] "
    "[S|INPUTLIBRARY|\"$(PROJDIR)\\lib\\board.lib\"|\"lib\\common\\io.lib\"] [S|ENTRY|_start] [B|DEBUG|1] "
    "[B|LIST|1] [S|LIST|\"$(CONFIGDIR)\\$(PROJECTNAME).map\"] [B|SUBCOMMAND|1] "
    "[S|START|P,C:D(00000400)|B{x},R(0FFF00000)|V(0FFFFFF00)] [S|OUTPUT|\"$(CONFIGDIR)\\$(PROJECTNAME).abs\"]";

// One caller buffer for every call, larger than any result here.
std::vector<char>& Buffer() {
    static std::vector<char> buffer(std::size_t{64} << 20);
    return buffer;
}

template <class Call>
void Fill(benchmark::State& state, Call&& call) {
    std::vector<char>& buffer = Buffer();
    int32_t result = 0;
    for (auto _ : state) {
        int32_t len = static_cast<int32_t>(buffer.size());
        result |= call(buffer.data(), &len);
        benchmark::DoNotOptimize(buffer.data());
    }
    if (result != 0) state.SkipWithError("the export failed");
}

template <class Call>
void Answer(benchmark::State& state, Call&& call) {
    int32_t result = 0;
    for (auto _ : state) benchmark::DoNotOptimize(result |= call());
    if (result != 0) state.SkipWithError("the export failed");
}

// A memory area record and the storage it points into.
struct AreaRecords {
    std::vector<std::string> addresses, groups;
    std::vector<std::vector<const char*>> groupPointers;
    std::vector<VivoMemoryArea> records;
    std::vector<const VivoMemoryArea*> pointers;

    explicit AreaRecords(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            char address[32];
            std::snprintf(address, sizeof address, "0x%08zX", 0x400 + i * 0x100);
            addresses.push_back(std::string(address) + '\0');
            groups.push_back(NulList({"P" + std::to_string(i), "C" + std::to_string(i)}));
            groups.push_back(NulList({"D" + std::to_string(i)}));
        }
        groupPointers.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            groupPointers[i] = {groups[2 * i].data(), groups[2 * i + 1].data(), nullptr};
            records.push_back(VivoMemoryArea{0, addresses[i].data(), groupPointers[i].data()});
        }
        for (const VivoMemoryArea& record : records) pointers.push_back(&record);
        pointers.push_back(nullptr);
    }
};

// ---- Every export, once per iteration ----

void RegisterExports() {
    using Body = std::function<void(benchmark::State&)>;
    static const std::string includeList = NulList({"$(PROJDIR)\\inc", "C:\\My Headers\\v2"});
    static const std::string defineList = NulList({"BOARD_REV=3", "NDEBUG", "NAME=a b"});
    static const std::string phaseOrder = NulList({"Veltora KZ C/C++ Compiler|SYSTEM|1", "Veltora KZ Assembler|SYSTEM|1",
                                                   "Veltora Bindex|SYSTEM|1"});
    static const std::string states = NulList({"Veltora KZ C/C++ Compiler|1", "Veltora KZ Assembler|1",
                                               "Veltora Bindex|1"});
    static const std::string optionList = NulList({std::string(kCompiler) + "|" + kCompilerOptions});
    static const std::string mappings = NulList({"Veltora KZ C/C++ Compiler|Object file|Veltora Bindex"});
    static const AreaRecords areas(3);
    static const std::string projectDir = [] {
        std::filesystem::path dir = std::filesystem::temp_directory_path() / ("vivo-benchmark-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    // Every change export runs inside a change from KZ 1.00.00 to 1.02.01, as the host calls it.
    const auto inChange = [](auto call) {
        return [call](benchmark::State& state) {
            CanUpgradeToolchain(&kKzOld, &kKz);
            Fill(state, [&](char* b, int32_t* l) {
                ResetSummaryInformation();
                return call(b, l);
            });
        };
    };
    const std::vector<std::pair<const char*, Body>> exports = {
        {"GetDLLInterfaceVersion", [](auto& s) { uint32_t a, b; Answer(s, [&] { return GetDLLInterfaceVersion(&a, &b); }); }},
        {"GetDLLProductVersion", [](auto& s) { Fill(s, GetDLLProductVersion); }},
        {"GetDLLOrdinalVersion", [](auto& s) { uint32_t a; Answer(s, [&] { return GetDLLOrdinalVersion(&a); }); }},
        {"GetDLLType", [](auto& s) { Fill(s, GetDLLType); }},
        {"GetTemplates", [](auto& s) { Fill(s, GetTemplates); }},
        {"GetSupportedFileExtensions", [](auto& s) { Fill(s, GetSupportedFileExtensions); }},
        {"IsCommandLineExecutionSupported",
         [](auto& s) { uint32_t a; Answer(s, [&] { return IsCommandLineExecutionSupported(kCompiler, &a); }); }},
        {"CanUpgradeToolchain", [](auto& s) { Answer(s, [] { return CanUpgradeToolchain(&kKzOld, &kKz); }); }},
        {"UpgradePhaseOrder", inChange([](char* b, int32_t* l) { return UpgradePhaseOrder(&kKzOld, &kKz, phaseOrder.data(), b, l); })},
        {"UpgradePhases", inChange([](char* b, int32_t* l) {
             return UpgradePhases(&kReserved, &kReserved, states.data(), states.data(), kCompiler, b, l);
         })},
        {"UpgradePhaseOptions", inChange([](char* b, int32_t* l) {
             return UpgradePhaseOptions(&kKzOld, &kKz, kCompiler, 0, optionList.data(), b, l);
         })},
        {"UpgradePhaseMappings",
         inChange([](char* b, int32_t* l) { return UpgradePhaseMappings(&kReserved, 0, mappings.data(), b, l); })},
        {"ConvertPhaseOptions", [](auto& s) {
             Fill(s, [](char* b, int32_t* l) { return ConvertPhaseOptions(&kKz, kCompiler, kAssembler, kCompilerOptions.c_str(), b, l); });
         }},
        {"CheckOptionConsistency", [](auto& s) {
             // Its answer is its result; only the time counts here.
             Answer(s, [] {
                 benchmark::DoNotOptimize(CheckOptionConsistency(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr));
                 return 0;
             });
         }},
        {"ResetSummaryInformation", [](auto& s) { Answer(s, ResetSummaryInformation); }},
        {"DisplaySummaryInformation", [](auto& s) {
             // Without a terminal the dialog's text goes to standard error and Upgrade.txt is written.
             if (isatty(STDIN_FILENO) == 1) return s.SkipWithError("needs standard input that is no terminal");
             CanUpgradeToolchain(&kKzOld, &kKz);
             Answer(s, [] {
                 int32_t len = 1 << 16;
                 ResetSummaryInformation();
                 UpgradePhaseOptions(&kKzOld, &kKz, kCompiler, 0, optionList.data(), Buffer().data(), &len);
                 return DisplaySummaryInformation("Bench", projectDir.c_str());
             });
         }},
        {"GetIncludeFileDirectories", [](auto& s) {
             Fill(s, [](char* b, int32_t* l) { return GetIncludeFileDirectories(kCompiler, kCompilerOptions.c_str(), b, l); });
         }},
        {"SetIncludeFileDirectories", [](auto& s) {
             Fill(s, [](char* b, int32_t* l) {
                 return SetIncludeFileDirectories(kCompiler, kCompilerOptions.c_str(), includeList.data(), b, l);
             });
         }},
        {"GetDefines", [](auto& s) { Fill(s, [](char* b, int32_t* l) { return GetDefines(kCompiler, kCompilerOptions.c_str(), b, l); }); }},
        {"SetDefines", [](auto& s) {
             Fill(s, [](char* b, int32_t* l) { return SetDefines(kCompiler, kCompilerOptions.c_str(), defineList.data(), b, l); });
         }},
        {"GetLinkerMapFile", [](auto& s) { Fill(s, [](char* b, int32_t* l) { return GetLinkerMapFile(0, kLinkerOptions.c_str(), b, l); }); }},
        {"GetLinkerInformation", [](auto& s) { uint32_t a, b; Answer(s, [&] { return GetLinkerInformation(&kKz, &a, &b); }); }},
        {"IsLinkedByCommandFile",
         [](auto& s) { uint32_t a; Answer(s, [&] { return IsLinkedByCommandFile(&kReserved, kLinkerOptions.c_str(), &a); }); }},
        {"IsPreprocessorScanEnabled",
         [](auto& s) { uint32_t a; Answer(s, [&] { return IsPreprocessorScanEnabled(&kReserved, kCompilerOptions.c_str(), &a); }); }},
        {"GetLibraryFiles", [](auto& s) { Fill(s, [](char* b, int32_t* l) { return GetLibraryFiles(kLinkerOptions.c_str(), b, l); }); }},
        {"SetLibraryFiles", [](auto& s) {
             Fill(s, [](char* b, int32_t* l) { return SetLibraryFiles(kLinkerOptions.c_str(), "Library=\"a.lib\",\"b.lib\"", b, l); });
         }},
        {"GetNoOfMemoryAreas",
         [](auto& s) { uint32_t a; Answer(s, [&] { return GetNoOfMemoryAreas(0, kLinkerOptions.c_str(), &a); }); }},
        {"GetAddressRanges", [](auto& s) { Fill(s, [](char* b, int32_t* l) { return GetAddressRanges(0, kLinkerOptions.c_str(), 2, b, l); }); }},
        {"GetSections", [](auto& s) {
             Fill(s, [](char* b, int32_t* l) { return GetSections(&kReserved, kLinkerOptions.c_str(), 2, b, l); });
         }},
        {"UpdateLinkerSections", [](auto& s) {
             Fill(s, [](char* b, int32_t* l) {
                 return UpdateLinkerSections(&kReserved, kLinkerOptions.c_str(), areas.pointers.data(), b, l);
             });
         }},
        {"GetSyntaxColouringInformation",
         [](auto& s) { Fill(s, [](char* b, int32_t* l) { return GetSyntaxColouringInformation("C source file", b, l); }); }},
        {"GetSyntaxColouringVersion", [](auto& s) { uint32_t a; Answer(s, [&] { return GetSyntaxColouringVersion(&a); }); }},
        {"GetMakefileOutputLineInfo", [](auto& s) {
             Fill(s, [](char* b, int32_t* l) {
                 uint32_t r, e, w, f, m;
                 return GetMakefileOutputLineInfo("..\\src\\main.c(12) : C2500 (E) Syntax error", &r, &e, &w, &f, b, l, &m);
             });
         }},
    };
    for (const auto& [name, body] : exports) benchmark::RegisterBenchmark((std::string("Export/") + name).c_str(), body);

    // Yardsticks: one parse of the compiler's option string into its items, and one copy of it.
    benchmark::RegisterBenchmark("Reference/ParseOptionString", [](benchmark::State& state) {
        for (auto _ : state) {
            vivo::OptionSet set;
            benchmark::DoNotOptimize(vivo::ParseOptionString(kCompilerOptions.c_str(), set));
        }
    });
    benchmark::RegisterBenchmark("Reference/CopyOptionString", [](benchmark::State& state) {
        for (auto _ : state) {
            std::string copy = kCompilerOptions;
            benchmark::DoNotOptimize(copy.data());
        }
    });
}

// ---- A whole toolchain change per family, through the exports in the host's order ----

void RegisterChanges() {
    for (const vivo::benchmarks::ExampleChange& change : vivo::benchmarks::ExampleChanges(VIVO_SOURCE_DIR)) {
        benchmark::RegisterBenchmark(change.name.c_str(), [change](benchmark::State& state) {
            int32_t failures = 0;
            for (auto _ : state) failures |= vivo::benchmarks::RunChange(change, Buffer());
            if (failures != 0) state.SkipWithError("a call of the change failed");
        });
    }
}

// ---- Growth with the size of the option string ----

// Filler items of a compiler's or linker's option string, appended until `bytes` are reached.
std::string Filler(std::size_t bytes) {
    static const char* const items[] = {"[B|DEBUG|1]", "[S|OUTPUTPATH|\"$(CONFIGDIR)\\$(FILELEAF).obj\"]",
                                        "[S|CPU|KZ600]", "[S|OPTIMIZEFOR|SPEED]", "[B|SKIPDEPENDENCY|1]",
                                        "[S|ASSEMBLY|\"[B|DEBUG|1]] [S|X|\"\"a ]] b\"\"]]\"]"};
    std::string text;
    for (std::size_t i = 0; text.size() < bytes; ++i) {
        text += items[i % std::size(items)];
        text += i % 7 == 6 ? "\r\n" : " ";
    }
    return text;
}

// An item whose value list fills `bytes`: "[S|INCLUDE|" then "value0"|"value1"|... then "]".
std::string ListItem(const char* prefix, std::size_t bytes, const char* pattern) {
    std::string item = prefix;
    char value[64];
    for (std::size_t i = 0; item.size() < bytes; ++i) {
        std::snprintf(value, sizeof value, pattern, i);
        item += i == 0 ? "" : "|";
        item += value;
    }
    return item + "]";
}

std::vector<std::string> ListValues(std::size_t bytes, const char* pattern) {
    std::vector<std::string> values;
    char value[64];
    for (std::size_t size = 0, i = 0; size < bytes; ++i) {
        std::snprintf(value, sizeof value, pattern, i);
        values.emplace_back(value);
        size += values.back().size() + 1;
    }
    return values;
}

// Memory areas filling `bytes`: [S|START|P0,C0:D0(00000400)|P1,...].
std::string StartItem(std::size_t bytes) {
    std::string item = "[S|START|";
    char area[64];
    for (std::size_t i = 0; item.size() < bytes; ++i) {
        std::snprintf(area, sizeof area, "%sP%zu,C%zu:D%zu(0%08zX)", i == 0 ? "" : "|", i, i, i, 0x400 + i * 0x100);
        item += area;
    }
    return item + "]";
}

struct Growth {
    const char* name;
    // Builds the input of `bytes` and returns the call to time; sets the bytes the call reads.
    std::function<std::function<int32_t()>(std::size_t bytes, std::size_t& size)> make;
};

// Half of each option string is the item the operation reads (or writes), half is filler around it,
// so that both the number of items and the length of the one item grow with the size.
std::function<int32_t()> FillCall(std::function<int32_t(char*, int32_t*)> call) {
    return [call] {
        int32_t len = static_cast<int32_t>(Buffer().size());
        return call(Buffer().data(), &len);
    };
}

void RegisterGrowth() {
    using Call = std::function<int32_t()>;
    const auto options = [](const char* prefix, const char* pattern) {
        return [prefix, pattern](std::size_t bytes) {
            return Filler(bytes / 4) + " " + ListItem(prefix, bytes / 2, pattern) + " " + Filler(bytes / 4);
        };
    };
    const auto includes = options("[S|INCLUDE|", "\"$(PROJDIR)\\inc %05zu\"");
    const auto defines = options("[S|DEFINE|", "SYMBOL_%05zu=1");
    const auto libraries = options("[S|INPUTLIBRARY|", "\"$(PROJDIR)\\lib\\l%05zu.lib\"");
    const auto areas = [](std::size_t bytes) { return Filler(bytes / 4) + " " + StartItem(bytes / 2) + " " + Filler(bytes / 4); };
    const auto ending = [](const char* last) {
        return [last](std::size_t bytes) { return Filler(bytes) + " " + last; };
    };
    const std::vector<Growth> growth = {
        {"SplitQuoted", [](std::size_t n, std::size_t& size) -> Call {
             auto text = std::make_shared<std::string>(Filler(n));
             size = text->size();
             return [text] { return static_cast<int32_t>(vivo::SplitQuoted(std::string_view(*text), vivo::kItemDelimiters).size()); };
         }},
        {"ParseOptionString", [](std::size_t n, std::size_t& size) -> Call {
             auto text = std::make_shared<std::string>(Filler(n / 2) + " " + ListItem("[S|INCLUDE|", n / 2, "\"i%05zu\""));
             size = text->size();
             return [text] {
                 vivo::OptionSet set;
                 return vivo::ParseOptionString(text->c_str(), set) ? 0 : 1;
             };
         }},
        {"GetIncludeFileDirectories", [includes](std::size_t n, std::size_t& size) -> Call {
             auto text = std::make_shared<std::string>(includes(n));
             size = text->size();
             return FillCall([text](char* b, int32_t* l) { return GetIncludeFileDirectories(kCompiler, text->c_str(), b, l); });
         }},
        {"SetIncludeFileDirectories", [includes](std::size_t n, std::size_t& size) -> Call {
             auto text = std::make_shared<std::string>(includes(n));
             auto list = std::make_shared<std::string>(NulList(ListValues(n / 2, "C:\\new inc %05zu")));
             size = text->size() + list->size();
             return FillCall([text, list](char* b, int32_t* l) {
                 return SetIncludeFileDirectories(kCompiler, text->c_str(), list->data(), b, l);
             });
         }},
        {"GetDefines", [defines](std::size_t n, std::size_t& size) -> Call {
             auto text = std::make_shared<std::string>(defines(n));
             size = text->size();
             return FillCall([text](char* b, int32_t* l) { return GetDefines(kCompiler, text->c_str(), b, l); });
         }},
        {"SetDefines", [defines](std::size_t n, std::size_t& size) -> Call {
             auto text = std::make_shared<std::string>(defines(n));
             auto list = std::make_shared<std::string>(NulList(ListValues(n / 2, "NEW_%05zu=a b")));
             size = text->size() + list->size();
             return FillCall([text, list](char* b, int32_t* l) { return SetDefines(kCompiler, text->c_str(), list->data(), b, l); });
         }},
        {"GetLibraryFiles", [libraries](std::size_t n, std::size_t& size) -> Call {
             auto text = std::make_shared<std::string>(libraries(n));
             size = text->size();
             return FillCall([text](char* b, int32_t* l) { return GetLibraryFiles(text->c_str(), b, l); });
         }},
        {"SetLibraryFiles", [libraries](std::size_t n, std::size_t& size) -> Call {
             auto text = std::make_shared<std::string>(libraries(n));
             std::string host = "Library=";
             for (const std::string& value : ListValues(n / 2, "\"lib\\n%05zu.lib\"")) host += value + ",";
             host.pop_back();
             auto library = std::make_shared<std::string>(host);
             size = text->size() + library->size();
             return FillCall([text, library](char* b, int32_t* l) { return SetLibraryFiles(text->c_str(), library->c_str(), b, l); });
         }},
        {"GetLinkerMapFile", [ending](std::size_t n, std::size_t& size) -> Call {
             auto text = std::make_shared<std::string>(ending("[B|LIST|1] [S|LIST|\"$(CONFIGDIR)\\a.map\"]")(n));
             size = text->size();
             return FillCall([text](char* b, int32_t* l) { return GetLinkerMapFile(0, text->c_str(), b, l); });
         }},
        {"IsLinkedByCommandFile", [ending](std::size_t n, std::size_t& size) -> Call {
             auto text = std::make_shared<std::string>(ending("[B|SUBCOMMAND|1]")(n));
             size = text->size();
             return [text] { uint32_t a = 0; return IsLinkedByCommandFile(&kReserved, text->c_str(), &a) | (a == 1 ? 0 : 1); };
         }},
        {"IsPreprocessorScanEnabled", [ending](std::size_t n, std::size_t& size) -> Call {
             auto text = std::make_shared<std::string>(ending("[N|DEPENDSCAN|1]")(n));
             size = text->size();
             return [text] { uint32_t a = 0; return IsPreprocessorScanEnabled(&kReserved, text->c_str(), &a); };
         }},
        {"GetNoOfMemoryAreas", [areas](std::size_t n, std::size_t& size) -> Call {
             auto text = std::make_shared<std::string>(areas(n));
             size = text->size();
             return [text] { uint32_t a = 0; return GetNoOfMemoryAreas(0, text->c_str(), &a) | (a == 0 ? 1 : 0); };
         }},
        {"GetAddressRanges", [areas](std::size_t n, std::size_t& size) -> Call {
             auto text = std::make_shared<std::string>(areas(n));
             size = text->size();
             uint32_t count = 0;
             GetNoOfMemoryAreas(0, text->c_str(), &count);
             const int32_t last = static_cast<int32_t>(count);
             return FillCall([text, last](char* b, int32_t* l) { return GetAddressRanges(0, text->c_str(), last, b, l); });
         }},
        {"GetSections", [areas](std::size_t n, std::size_t& size) -> Call {
             auto text = std::make_shared<std::string>(areas(n));
             size = text->size();
             uint32_t count = 0;
             GetNoOfMemoryAreas(0, text->c_str(), &count);
             const int32_t last = static_cast<int32_t>(count);
             return FillCall([text, last](char* b, int32_t* l) { return GetSections(&kReserved, text->c_str(), last, b, l); });
         }},
        {"UpdateLinkerSections", [areas](std::size_t n, std::size_t& size) -> Call {
             auto text = std::make_shared<std::string>(areas(n));
             // The new placement is as long as the old one: areas of about 32 bytes each.
             auto records = std::make_shared<AreaRecords>(std::max<std::size_t>(1, n / 2 / 32));
             size = text->size() + n / 2;
             return FillCall([text, records](char* b, int32_t* l) {
                 return UpdateLinkerSections(&kReserved, text->c_str(), records->pointers.data(), b, l);
             });
         }},
        {"ConvertPhaseOptions", [](std::size_t n, std::size_t& size) -> Call {
             auto text = std::make_shared<std::string>("[S|OUTPUT|SRC] " + Filler(n / 4) + " " +
                                                       ListItem("[S|INCLUDE|", n / 2, "\"inc%05zu\"") + " " + Filler(n / 4));
             size = text->size();
             return FillCall([text](char* b, int32_t* l) {
                 return ConvertPhaseOptions(&kKz, kCompiler, kAssembler, text->c_str(), b, l);
             });
         }},
    };
    for (const Growth& operation : growth) {
        for (std::size_t bytes = std::size_t{1} << 10; bytes <= (std::size_t{1} << 20); bytes <<= 5) {
            const std::string name = std::string("Grow/") + operation.name + "/" + std::to_string(bytes);
            std::size_t size = 0;
            auto call = std::make_shared<Call>(operation.make(bytes, size));
            benchmark::RegisterBenchmark(name.c_str(), [call, size](benchmark::State& state) {
                int32_t failures = 0;
                for (auto _ : state) benchmark::DoNotOptimize(failures |= (*call)());
                if (failures < 0) state.SkipWithError("the operation failed");
                state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
                state.counters["bytes"] = static_cast<double>(size);
            });
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Freed memory stays with the allocator, as in a host that has been running for a while: without
    // this, glibc hands every temporary string of a few megabytes back to the kernel and the next call
    // pays for zeroed fresh pages, which is the kernel's time per byte, not the plug-in's.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    Buffer();  // made and touched once, before any timing
    RegisterExports();
    RegisterChanges();
    RegisterGrowth();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
