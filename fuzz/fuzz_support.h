#pragma once
// What every fuzz target shares: its input read as a host's arguments, and caller buffers with guard
// bytes behind them that are checked after every call, so that a write past the capacity aborts.
// A target drives the exports of a `Plugin`: the linked code when fuzzing, a loaded plug-in file in
// the replay (replay/), which reads every corpus input through the same target.
//
// Input layout: one selector byte, two bytes of capacity (little-endian, 0 to 65535), then text
// fields separated by the byte 0x01. A list field is handed over as a NUL-separated list: its bytes
// as they are (a NUL in them ends a string) followed by two NULs.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/module_path.h"
#include "vivo/vivo.h"

namespace vivo::fuzz {

inline constexpr unsigned char kFill = 0xA5;
inline constexpr std::size_t kGuardBytes = 32;
inline constexpr char kFieldSeparator = '\x01';

[[noreturn]] inline void Fail(const char* what, const char* call) {
    std::fprintf(stderr, "vivo fuzz: %s in %s\n", what, call);
    std::abort();
}

class Input {
public:
    Input(const uint8_t* data, std::size_t size) : text_(reinterpret_cast<const char*>(data), size) {
        selector_ = Byte();
        capacity_ = Byte();
        capacity_ |= static_cast<int32_t>(Byte()) << 8;
    }

    uint8_t selector() const { return selector_; }
    int32_t capacity() const { return capacity_; }

    // The next field as a NUL-terminated text (cut at an inner NUL by the export, as a host's would be).
    std::string Text() { return std::string(Field()); }

    // The next field as a NUL-separated list: its bytes, then two NULs.
    std::string List() {
        std::string list(Field());
        list.append(2, '\0');
        return list;
    }

    // What is left, as one text (separators included).
    std::string Rest() {
        std::string rest(text_);
        text_ = {};
        return rest;
    }

    bool empty() const { return text_.empty(); }

private:
    uint8_t Byte() {
        if (text_.empty()) return 0;
        const auto byte = static_cast<uint8_t>(text_.front());
        text_.remove_prefix(1);
        return byte;
    }

    std::string_view Field() {
        const std::size_t end = text_.find(kFieldSeparator);
        const std::string_view field = text_.substr(0, end);
        text_.remove_prefix(end == std::string_view::npos ? text_.size() : end + 1);
        return field;
    }

    std::string_view text_;
    uint8_t selector_ = 0;
    int32_t capacity_ = 0;
};

// How an export may treat the byte behind the capacity.
enum class Behind {
    kNothing,   // never written
    kEmptyNul,  // one NUL for an empty answer (length 0, result 0), whatever the capacity
};

// A host's buffer of `capacity` bytes with guard bytes behind it.
class GuardedBuffer {
public:
    explicit GuardedBuffer(int32_t capacity, Behind behind = Behind::kNothing)
        : capacity_(capacity), behind_(behind),
          bytes_(new unsigned char[static_cast<std::size_t>(capacity) + kGuardBytes]) {
        std::memset(bytes_.get(), kFill, static_cast<std::size_t>(capacity) + kGuardBytes);
    }
    char* data() { return reinterpret_cast<char*>(bytes_.get()); }

    // Aborts when a guard byte changed, or when the call failed and still wrote into the buffer.
    void Check(int32_t result, int32_t len, const char* call) const {
        const std::size_t size = static_cast<std::size_t>(capacity_);
        std::size_t guard = size;
        if (behind_ == Behind::kEmptyNul && size == 0 && bytes_[0] != kFill) {
            if (bytes_[0] != 0 || result != 0 || len != 0) Fail("write past the capacity", call);
            guard = 1;
        }
        for (std::size_t i = guard; i < size + kGuardBytes; ++i)
            if (bytes_[i] != kFill) Fail("write past the capacity", call);
        if (result != 0)
            for (std::size_t i = 0; i < size; ++i)
                if (bytes_[i] != kFill) Fail("write into the buffer of a failed call", call);
    }

private:
    int32_t capacity_;
    Behind behind_;
    std::unique_ptr<unsigned char[]> bytes_;
};

// Calls `call(buffer, &len)` as a host does: with `capacity` first; when that is too small, again
// with the length the export asked for (the length, or one more for the protocols that add a
// terminator). Every call is checked for writes past the capacity; a successful call must report
// a length within the capacity, and the asked-for capacity must be enough.
//
// A failed call is either a request (the capacity was too small) or a refusal of the input, which
// may report any length (ConvertPhaseOptions reports 0 for an option string it cannot read). A
// refusal does not depend on the capacity: when the asked-for capacity gives the same failure, a
// capacity well beyond it is tried, and only a call that then succeeds proves the request wrong.
template <class Call>
int32_t CallGuarded(int32_t capacity, const char* name, Call&& call, Behind behind = Behind::kNothing) {
    const auto checkedCall = [&](int32_t size, int32_t* len) {
        GuardedBuffer buffer(size, behind);
        *len = size;
        const int32_t result = call(buffer.data(), len);
        buffer.Check(result, *len, name);
        if (*len < 0) Fail("negative length", name);
        if (result == 0 && *len > size) Fail("length beyond the capacity of a successful call", name);
        return result;
    };
    int32_t len = 0;
    const int32_t result = checkedCall(capacity, &len);
    if (result != 1 || len < capacity || len > (1 << 24)) return result;

    for (const int32_t asked : {len, len + 1}) {
        if (asked <= capacity) continue;  // that much was already too little
        int32_t retryLen = 0;
        const int32_t retried = checkedCall(asked, &retryLen);
        if (retried == 0) return retried;
        if (retryLen != len) return retried;  // the export refused the input for another reason
    }
    int32_t ampleLen = 0;
    const int32_t ample = checkedCall(len + 4096, &ampleLen);
    if (ample == 0) Fail("the asked-for capacity is not enough", name);
    if (ample != result || ampleLen != len) Fail("the answer to a refused input changed with the capacity", name);
    return result;  // a refusal: the same answer whatever the capacity
}

// The 33 exports, in the order of the plug-in's export list.
#define VIVO_FUZZ_FOR_EACH_EXPORT(X)                                                                    \
    X(GetDLLInterfaceVersion) X(GetDLLProductVersion) X(GetDLLOrdinalVersion) X(GetDLLType)               \
    X(GetTemplates) X(GetSupportedFileExtensions) X(IsCommandLineExecutionSupported)                      \
    X(CanUpgradeToolchain) X(UpgradePhaseOrder) X(UpgradePhases) X(UpgradePhaseOptions)                  \
    X(UpgradePhaseMappings) X(ConvertPhaseOptions) X(CheckOptionConsistency) X(ResetSummaryInformation)  \
    X(DisplaySummaryInformation) X(GetIncludeFileDirectories) X(SetIncludeFileDirectories) X(GetDefines) \
    X(SetDefines) X(GetLinkerMapFile) X(GetLinkerInformation) X(IsLinkedByCommandFile)                   \
    X(IsPreprocessorScanEnabled) X(GetLibraryFiles) X(SetLibraryFiles) X(GetNoOfMemoryAreas)             \
    X(GetAddressRanges) X(GetSections) X(UpdateLinkerSections) X(GetSyntaxColouringInformation)          \
    X(GetSyntaxColouringVersion) X(GetMakefileOutputLineInfo)

// The exports a target calls, by name.
struct Exports {
#define VIVO_FUZZ_EXPORT_MEMBER(name) decltype(&::name) name = nullptr;
    VIVO_FUZZ_FOR_EACH_EXPORT(VIVO_FUZZ_EXPORT_MEMBER)
#undef VIVO_FUZZ_EXPORT_MEMBER
};

// The plug-in a target drives.
struct Plugin {
    Exports exports;
    std::string folder;  // where it reads TC.ini and SyntaxColouring.ini, with a trailing separator
};

// A check of the plug-in's internal operations beside its exports: made by the fuzz targets, which link
// them; left out of the replay, which knows a plug-in file by its exports only.
#ifdef VIVO_REPLAY
#define VIVO_FUZZ_INTERNAL(check) ((void)0)
#else
#define VIVO_FUZZ_INTERNAL(check) (check)
#endif

// The code linked into a fuzz target: its exports, its folder that of the program.
inline Plugin LinkedPlugin() {
    Plugin plugin;
#define VIVO_FUZZ_EXPORT_LINKED(name) plugin.exports.name = &::name;
    VIVO_FUZZ_FOR_EACH_EXPORT(VIVO_FUZZ_EXPORT_LINKED)
#undef VIVO_FUZZ_EXPORT_LINKED
    plugin.folder = platform::PluginFilePath("");
    for (char& c : plugin.folder)
        if (c == '\\') c = '/';
    return plugin;
}

// A target: reads one input and makes its calls.
using Drive = void (*)(Input& in, const Plugin& plugin);

struct Target {
    const char* corpus;  // its folder below fuzz/corpus/
    Drive drive;
};

// The targets linked into one program (the replay), in the order they were registered.
inline std::vector<Target>& Targets() {
    static std::vector<Target> targets;
    return targets;
}

// Declares a target: the fuzzer's entry point, or (built with VIVO_REPLAY) an entry in Targets().
#ifdef VIVO_REPLAY
#define VIVO_FUZZ_TARGET(corpus, drive) \
    [[maybe_unused]] static const bool registered = (::vivo::fuzz::Targets().push_back({corpus, drive}), true);
#else
#define VIVO_FUZZ_TARGET(corpus, drive)                                          \
    extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {     \
        static const ::vivo::fuzz::Plugin plugin = ::vivo::fuzz::LinkedPlugin(); \
        ::vivo::fuzz::Input in(data, size);                                       \
        drive(in, plugin);                                                        \
        return 0;                                                                 \
    }
#endif

// Toolchain records as the host passes them (the 32-bit record size, 12).
inline VivoToolchainRecord Record(const std::string& name, const std::string& version) {
    return VivoToolchainRecord{12, name.c_str(), version.c_str()};
}

}  // namespace vivo::fuzz
