// Fuzz target: the exports that read and rewrite one option string (include directories, defines,
// libraries, the linker's questions, memory areas, phase option conversion), the identity exports
// with caller buffers, and the option string model under them.
//
// Fields: tool name, option string, list or text argument, area number (decimal), toolchain name.
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "options/option_string.h"

using vivo::fuzz::CallGuarded;
using vivo::fuzz::Fail;

namespace {

// Checks the option string model on its own: splitting never gives an empty token.
[[maybe_unused]] void CheckModel(const std::string& options) {
    for (const std::string& token : vivo::SplitQuoted(std::string_view(options), vivo::kItemDelimiters))
        if (token.empty()) Fail("empty token", "SplitQuoted");
    vivo::OptionSet set;
    (void)vivo::ParseOptionString(options.c_str(), set);
    (void)vivo::UndoubleEscapes(vivo::DoubleEscapeInQuotes(options, vivo::kValueEscapes), vivo::kValueEscapes);
    (void)vivo::UnescapeCSequences(options);
}

void Drive(vivo::fuzz::Input& in, const vivo::fuzz::Plugin& plugin) {
    const vivo::fuzz::Exports& x = plugin.exports;
    const int32_t capacity = in.capacity();
    const std::string tool = in.Text();
    const std::string options = in.Text();
    const std::string list = in.List();
    const std::string text(list.c_str());
    const int32_t area = std::atoi(in.Text().c_str());
    const std::string toolchainName = in.Text();
    const std::string version = in.Text();
    const VivoToolchainRecord toolchain = vivo::fuzz::Record(toolchainName, version);
    const char* o = options.c_str();
    const int reserved = 0;
    uint32_t answer = 0;

    switch (in.selector() % 20) {
    case 0: VIVO_FUZZ_INTERNAL(CheckModel(options)); break;
    case 1:
        CallGuarded(capacity, "GetIncludeFileDirectories",
                    [&](char* b, int32_t* l) { return x.GetIncludeFileDirectories(tool.c_str(), o, b, l); });
        break;
    case 2:
        CallGuarded(capacity, "SetIncludeFileDirectories", [&](char* b, int32_t* l) {
            return x.SetIncludeFileDirectories(tool.c_str(), o, list.data(), b, l);
        });
        break;
    case 3: CallGuarded(capacity, "GetDefines", [&](char* b, int32_t* l) { return x.GetDefines(tool.c_str(), o, b, l); }); break;
    case 4:
        CallGuarded(capacity, "SetDefines",
                    [&](char* b, int32_t* l) { return x.SetDefines(tool.c_str(), o, list.data(), b, l); });
        break;
    case 5: CallGuarded(capacity, "GetLinkerMapFile", [&](char* b, int32_t* l) { return x.GetLinkerMapFile(0, o, b, l); }); break;
    case 6: (void)x.IsLinkedByCommandFile(&reserved, o, &answer); break;
    case 7: (void)x.IsPreprocessorScanEnabled(&reserved, o, &answer); break;
    case 8: CallGuarded(capacity, "GetLibraryFiles", [&](char* b, int32_t* l) { return x.GetLibraryFiles(o, b, l); }); break;
    case 9:
        CallGuarded(capacity, "SetLibraryFiles",
                    [&](char* b, int32_t* l) { return x.SetLibraryFiles(o, text.c_str(), b, l); });
        break;
    case 10: (void)x.GetNoOfMemoryAreas(0, o, &answer); break;
    case 11:
        CallGuarded(capacity, "GetAddressRanges",
                    [&](char* b, int32_t* l) { return x.GetAddressRanges(0, o, area, b, l); });
        break;
    case 12:
        CallGuarded(capacity, "GetSections", [&](char* b, int32_t* l) { return x.GetSections(&reserved, o, area, b, l); });
        break;
    case 13:
        CallGuarded(capacity, "ConvertPhaseOptions", [&](char* b, int32_t* l) {
            return x.ConvertPhaseOptions(&toolchain, tool.c_str(), text.c_str(), o, b, l);
        });
        break;
    case 14: {
        uint32_t flags = 0, second = 0;
        (void)x.GetLinkerInformation(&toolchain, &flags, &second);
        break;
    }
    case 15: (void)x.IsCommandLineExecutionSupported(tool.c_str(), &answer); break;
    case 16:
        CallGuarded(capacity, "GetDLLProductVersion", [&](char* b, int32_t* l) { return x.GetDLLProductVersion(b, l); });
        break;
    case 17: CallGuarded(capacity, "GetDLLType", [&](char* b, int32_t* l) { return x.GetDLLType(b, l); }); break;
    case 18:
        CallGuarded(capacity, "GetSupportedFileExtensions",
                    [&](char* b, int32_t* l) { return x.GetSupportedFileExtensions(b, l); });
        break;
    default: {
        // A host that has no buffer yet asks with a null one: refused, nothing written anywhere.
        int32_t len = capacity;
        if (x.GetIncludeFileDirectories(tool.c_str(), o, nullptr, &len) != 1 || len != capacity)
            Fail("null buffer accepted", "GetIncludeFileDirectories");
        break;
    }
    }
}

}  // namespace

VIVO_FUZZ_TARGET("option_exports", Drive)
