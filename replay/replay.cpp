// Replays a corpus of calls against a built plug-in file and writes a transcript of every export call:
// its return value, the lengths and numbers it reported and the bytes it left in the caller's buffer.
// Built for Linux, Win32 and Win64 from this one source; transcripts of Vivo.so and of both Vivo.dll
// builds must be byte for byte alike (scripts/windows-tests.sh compares them).
//
//   vivo_replay PLUGIN_FILE SOURCE_DIR TRANSCRIPT
//
// The corpus: the plug-in's answers from the shipped INI files, every example project's whole change
// (report dialog and Upgrade.txt included), and every input below fuzz/corpus/, read by the fuzz
// target of its folder. What differs by design between the platforms never enters the transcript;
// the one place that keeps it out is desk.h.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "benchmarks/whole_change.h"
#include "fuzz/fuzz_support.h"
#include "platform/shared_library.h"
#include "replay/desk.h"
#include "tools/project_file.h"

namespace {

namespace fs = std::filesystem;
using vivo::benchmarks::NulList;
using vivo::benchmarks::OptionList;
using vivo::benchmarks::ReadNulList;
using vivo::benchmarks::StateList;
using vivo::fuzz::CallGuarded;

// ---- The transcript ----

std::FILE* transcript = nullptr;
std::size_t calls = 0;

void WriteLine(const std::string& line) {
    if (std::fputs(line.c_str(), transcript) < 0 || std::fputc('\n', transcript) == EOF)
        throw std::runtime_error("cannot write the transcript");
}

// Bytes as text: printable ASCII as it is, everything else (and the backslash) as \xHH.
void AppendBytes(std::string& line, const char* bytes, std::size_t size) {
    static const char digits[] = "0123456789abcdef";
    line += '"';
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte >= 0x20 && byte < 0x7f && byte != '\\' && byte != '"') {
            line += static_cast<char>(byte);
        } else {
            line += "\\x";
            line += digits[byte >> 4];
            line += digits[byte & 15];
        }
    }
    line += '"';
}

// ---- Every export, loaded from the plug-in file and recorded on each call ----

enum ExportIndex : std::size_t {
#define VIVO_REPLAY_INDEX(name) k##name,
    VIVO_FUZZ_FOR_EACH_EXPORT(VIVO_REPLAY_INDEX)
#undef VIVO_REPLAY_INDEX
    kExportCount
};
constexpr const char* kExportNames[] = {
#define VIVO_REPLAY_NAME(name) #name,
    VIVO_FUZZ_FOR_EACH_EXPORT(VIVO_REPLAY_NAME)
#undef VIVO_REPLAY_NAME
};
void* loaded[kExportCount] = {};

// What a call shows of itself, read from its arguments by their types: the caller buffer and its
// capacity before the call; every number it reports through a pointer after it.
struct CallRecord {
    char* buffer = nullptr;
    int32_t capacity = -1;
    std::string outputs;
};
template <class T> void Before(T, CallRecord&) {}
void Before(char* buffer, CallRecord& record) { record.buffer = buffer; }
void Before(int32_t* len, CallRecord& record) { record.capacity = len != nullptr ? *len : -1; }
template <class T> void After(T, CallRecord&) {}
void After(int32_t* len, CallRecord& record) {
    if (len != nullptr) record.outputs += " len=" + std::to_string(record.capacity) + "->" + std::to_string(*len);
}
void After(uint32_t* number, CallRecord& record) {
    if (number != nullptr) record.outputs += " " + std::to_string(*number);
}

template <std::size_t Index, class Function> struct Recorded;
template <std::size_t Index, class... Arguments> struct Recorded<Index, int32_t (VIVO_CALL*)(Arguments...)> {
    static int32_t VIVO_CALL Call(Arguments... arguments) {
        CallRecord record;
        (Before(arguments, record), ...);
        const int32_t result = reinterpret_cast<int32_t(VIVO_CALL*)(Arguments...)>(loaded[Index])(arguments...);
        (After(arguments, record), ...);
        std::string line = std::string(kExportNames[Index]) + " " + std::to_string(result) + record.outputs;
        if (record.buffer != nullptr && record.capacity >= 0) {
            // The buffers come from GuardedBuffer: filled with kFill, with guard bytes behind. What the
            // call wrote ends at the last byte that is no longer kFill (one NUL may lie behind a
            // capacity of 0).
            std::size_t end = static_cast<std::size_t>(record.capacity) + 1;
            while (end > 0 && static_cast<unsigned char>(record.buffer[end - 1]) == vivo::fuzz::kFill) --end;
            line += ' ';
            AppendBytes(line, record.buffer, end);
        }
        WriteLine(line);
        ++calls;
        return result;
    }
};

vivo::fuzz::Exports RecordedExports() {
    vivo::fuzz::Exports exports;
#define VIVO_REPLAY_RECORDED(name) exports.name = &Recorded<k##name, decltype(&::name)>::Call;
    VIVO_FUZZ_FOR_EACH_EXPORT(VIVO_REPLAY_RECORDED)
#undef VIVO_REPLAY_RECORDED
    return exports;
}

// ---- The corpus ----

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + file.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<fs::path> SortedFiles(const fs::path& dir, const std::string& extension, bool recursive) {
    std::vector<fs::path> files;
    const auto take = [&](const fs::directory_entry& entry) {
        if (entry.is_regular_file() && (extension.empty() || entry.path().extension() == extension))
            files.push_back(entry.path());
    };
    if (recursive) std::for_each(fs::recursive_directory_iterator(dir), fs::recursive_directory_iterator(), take);
    else std::for_each(fs::directory_iterator(dir), fs::directory_iterator(), take);
    std::sort(files.begin(), files.end());
    return files;
}

// Buffers start small, so that every answer also goes through the host's retry with the asked length.
constexpr int32_t kFirstCapacity = 16;

// The INI files the plug-in ships, in the source tree.
fs::path ShippedFolder(const fs::path& sourceDir) { return sourceDir / "src" / "resources" / "shipped"; }

// What the plug-in answers from the shipped TC.ini and SyntaxColouring.ini.
void ReplayShippedFiles(const vivo::fuzz::Exports& x, const fs::path& sourceDir) {
    WriteLine("== shipped files");
    uint32_t major = 0, minor = 0, number = 0;
    x.GetDLLInterfaceVersion(&major, &minor);
    x.GetDLLOrdinalVersion(&number);
    x.GetSyntaxColouringVersion(&number);
    CallGuarded(kFirstCapacity, "GetDLLProductVersion", [&](char* b, int32_t* l) { return x.GetDLLProductVersion(b, l); });
    CallGuarded(kFirstCapacity, "GetDLLType", [&](char* b, int32_t* l) { return x.GetDLLType(b, l); });
    CallGuarded(kFirstCapacity, "GetTemplates", [&](char* b, int32_t* l) { return x.GetTemplates(b, l); });
    CallGuarded(kFirstCapacity, "GetSupportedFileExtensions",
                [&](char* b, int32_t* l) { return x.GetSupportedFileExtensions(b, l); });
    // Every file type the colouring file names (FileGroupN=type,type,...), and one it does not.
    std::vector<std::string> names{"Linker script file"};
    std::istringstream ini(ReadFile(ShippedFolder(sourceDir) / "SyntaxColouring.ini"));
    for (std::string line; std::getline(ini, line);) {
        if (line.rfind("FileGroup", 0) != 0 || line.find('-') < line.find('=')) continue;
        std::istringstream types(line.substr(line.find('=') + 1));
        for (std::string type; std::getline(types, type, ',');) names.push_back(type);
    }
    for (const std::string& name : names)
        CallGuarded(kFirstCapacity, "GetSyntaxColouringInformation",
                    [&](char* b, int32_t* l) { return x.GetSyntaxColouringInformation(name.c_str(), b, l); },
                    vivo::fuzz::Behind::kEmptyNul);
}

// One project's whole change in the host's order, then the report dialog (answered by the desk) and
// the Upgrade.txt it left in the project's folder.
void ReplayChange(const vivo::fuzz::Exports& x, const vivo::host::Project& project, const std::string& version,
                  const fs::path& projectDir) {
    const VivoToolchainRecord from = vivo::fuzz::Record(project.toolchain, project.version);
    const VivoToolchainRecord to{12, vivo::benchmarks::kKzToolchain, version.c_str()};
    const int reserved = 0;
    x.CanUpgradeToolchain(&from, &to);
    x.ResetSummaryInformation();
    const std::string phases = NulList(project.phases);
    std::string answer;
    const auto keep = [&](int32_t result, const char* b, const int32_t* l) {
        if (result == 0) answer.assign(b, static_cast<std::size_t>(*l));
        return result;
    };
    CallGuarded(kFirstCapacity, "UpgradePhaseOrder", [&](char* b, int32_t* l) {
        return keep(x.UpgradePhaseOrder(&from, &to, phases.c_str(), b, l), b, l);
    });
    const std::vector<std::string> order = ReadNulList(answer.data(), answer.size());
    const std::string states = StateList(project);
    for (const std::string& phase : order) {
        const std::string tool = phase.substr(0, phase.find('|'));
        answer.clear();
        CallGuarded(kFirstCapacity, "UpgradePhases", [&](char* b, int32_t* l) {
            return keep(x.UpgradePhases(&reserved, &reserved, states.c_str(), states.c_str(), tool.c_str(), b, l), b, l);
        });
        const std::string optionList = OptionList(project, ReadNulList(answer.data(), answer.size()));
        CallGuarded(kFirstCapacity, "UpgradePhaseOptions", [&](char* b, int32_t* l) {
            return x.UpgradePhaseOptions(&from, &to, tool.c_str(), 0, optionList.c_str(), b, l);
        });
    }
    const std::string mappings = NulList(project.mappings);
    CallGuarded(kFirstCapacity, "UpgradePhaseMappings",
                [&](char* b, int32_t* l) { return x.UpgradePhaseMappings(&reserved, 0, mappings.c_str(), b, l); });
    fs::create_directories(projectDir);
    x.DisplaySummaryInformation(project.name.c_str(), projectDir.string().c_str());
    const fs::path upgrade = projectDir / "Upgrade.txt";
    std::string line = "Upgrade.txt";
    if (fs::exists(upgrade)) {
        line += ' ';
        const std::string bytes = ReadFile(upgrade);
        AppendBytes(line, bytes.data(), bytes.size());
        fs::remove(upgrade);
    } else {
        line += " none";
    }
    WriteLine(line);
}

// Every example project: a KZ project to each other KZ version, any other to KZ 1.01.00.
void ReplayExamples(const vivo::fuzz::Exports& x, const fs::path& sourceDir, const fs::path& work) {
    const char* const kzVersions[] = {"1.00.00", "1.00.01", "1.01.00", "1.02.00", "1.02.01"};
    for (const fs::path& file : SortedFiles(sourceDir / "examples", ".vivo", true)) {
        const vivo::host::Project project = vivo::host::ParseProject(ReadFile(file), file.string());
        std::vector<std::string> targets{"1.01.00"};
        if (project.toolchain == vivo::benchmarks::kKzToolchain) {
            targets.clear();
            for (const char* version : kzVersions)
                if (project.version != version) targets.emplace_back(version);
        }
        for (const std::string& version : targets) {
            WriteLine("== " + fs::relative(file, sourceDir).generic_string() + " to " + version);
            ReplayChange(x, project, version, work / "project");
        }
    }
}

// Every corpus input, read by the fuzz target of its folder. The INI target writes TC.ini and
// SyntaxColouring.ini beside the plug-in: the shipped ones are put back after its folder.
void ReplayCorpus(const vivo::fuzz::Plugin& plugin, const fs::path& sourceDir, const fs::path& pluginDir) {
    std::vector<vivo::fuzz::Target> targets = vivo::fuzz::Targets();
    std::sort(targets.begin(), targets.end(),
              [](const auto& a, const auto& b) { return std::string_view(a.corpus) < b.corpus; });
    for (const vivo::fuzz::Target& target : targets) {
        const fs::path folder = sourceDir / "fuzz" / "corpus" / target.corpus;
        for (const fs::path& file : SortedFiles(folder, "", false)) {
            WriteLine("== fuzz/corpus/" + std::string(target.corpus) + "/" + file.filename().string());
            const std::string bytes = ReadFile(file);
            vivo::fuzz::Input in(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
            target.drive(in, plugin);
        }
        for (const fs::path& shipped : SortedFiles(ShippedFolder(sourceDir), ".ini", false))
            fs::copy_file(shipped, pluginDir / shipped.filename(), fs::copy_options::overwrite_existing);
    }
}

fs::path FreshFolder() {
    std::random_device random;
    for (;;) {
        fs::path candidate = fs::temp_directory_path() / ("vivo-replay-" + std::to_string(random()));
        if (fs::create_directory(candidate)) return candidate;
    }
}

// A copy of the plug-in with its resource libraries and the shipped INI files in a folder of its own,
// which the INI inputs may overwrite.
fs::path PreparePlugin(const fs::path& pluginFile, const fs::path& sourceDir, const fs::path& work) {
    const fs::path dir = work / "plugin";
    fs::create_directories(dir);
    for (const fs::path& beside : SortedFiles(pluginFile.parent_path(), pluginFile.extension().string(), false))
        if (beside.filename().string().rfind("ResVivo", 0) == 0) fs::copy_file(beside, dir / beside.filename());
    for (const fs::path& shipped : SortedFiles(ShippedFolder(sourceDir), ".ini", false))
        fs::copy_file(shipped, dir / shipped.filename());
    fs::copy_file(pluginFile, dir / pluginFile.filename());
    return dir / pluginFile.filename();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: vivo_replay PLUGIN_FILE SOURCE_DIR TRANSCRIPT\n");
        return 2;
    }
    const fs::path sourceDir = argv[2];
    const fs::path work = FreshFolder();
    int status = 0;
    try {
        const fs::path pluginFile = PreparePlugin(argv[1], sourceDir, work);
        std::string error;
        vivo::platform::SharedLibrary* library = vivo::platform::OpenSharedLibrary(pluginFile.string(), &error);
        if (library == nullptr) throw std::runtime_error("cannot load " + pluginFile.string() + ": " + error);
        for (std::size_t i = 0; i < kExportCount; ++i)
            if ((loaded[i] = vivo::platform::FindSymbol(library, kExportNames[i])) == nullptr)
                throw std::runtime_error(std::string("export missing: ") + kExportNames[i]);
        transcript = std::fopen(argv[3], "wb");
        if (transcript == nullptr) throw std::runtime_error(std::string("cannot write ") + argv[3]);

        vivo::fuzz::Plugin plugin;
        plugin.exports = RecordedExports();
        plugin.folder = pluginFile.parent_path().string() + static_cast<char>(fs::path::preferred_separator);
        {
            vivo::replay::Desk desk;
            ReplayShippedFiles(plugin.exports, sourceDir);
            ReplayExamples(plugin.exports, sourceDir, work);
            ReplayCorpus(plugin, sourceDir, pluginFile.parent_path());
        }
        if (std::fclose(transcript) != 0) throw std::runtime_error(std::string("cannot write ") + argv[3]);
        vivo::platform::CloseSharedLibrary(library);
        std::printf("%zu calls\n", calls);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vivo_replay: %s\n", e.what());
        status = 2;
    }
    std::error_code ignored;
    fs::remove_all(work, ignored);
    return status;
}
