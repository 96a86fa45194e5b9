// Fuzz target: the INI files the plug-in reads beside itself. The input is written as TC.ini or
// SyntaxColouring.ini beside this program (which holds the plug-in's code, so that is where the
// plug-in looks), then read through the exports; or it goes straight to the INI parser.
//
// Fields: the INI text, a section, a key, a file type name, source toolchain and version, target
// toolchain and version. Selector: which file and which reader.
#include <cstdio>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/module_path.h"
#include "platform/private_profile.h"

using vivo::fuzz::CallGuarded;
using vivo::fuzz::Fail;

namespace {

// The POSIX path of a file beside the plug-in.
std::string BesidePlugin(const char* name) {
    std::string path = vivo::platform::PluginFilePath(name);
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

void WriteFile(const std::string& path, const std::string& content) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) Fail("cannot write the INI file", path.c_str());
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vivo::fuzz::Input in(data, size);
    const int32_t capacity = in.capacity();
    const std::string ini = in.Text(), section = in.Text(), key = in.Text(), name = in.Text();
    const std::string fromName = in.Text(), fromVersion = in.Text(), toName = in.Text(), toVersion = in.Text();

    switch (in.selector() % 3) {
    case 0: {
        const std::optional<std::string> value = vivo::platform::FindProfileValue(ini, section, key);
        if (value && value->size() > ini.size()) Fail("value longer than the file", "FindProfileValue");
        break;
    }
    case 1: {
        static const std::string path = BesidePlugin("TC.ini");
        WriteFile(path, ini);
        const VivoToolchainRecord from = vivo::fuzz::Record(fromName, fromVersion);
        const VivoToolchainRecord to = vivo::fuzz::Record(toName, toVersion);
        CallGuarded(capacity, "GetTemplates", [&](char* b, int32_t* l) { return GetTemplates(b, l); });
        (void)CanUpgradeToolchain(&from, &to);
        (void)vivo::platform::ReadProfileString(path, section, key, "default ", static_cast<std::size_t>(capacity));
        break;
    }
    default: {
        static const std::string path = BesidePlugin("SyntaxColouring.ini");
        WriteFile(path, ini);
        uint32_t version = 0;
        (void)GetSyntaxColouringVersion(&version);
        // An unknown name is answered with length 0 and one NUL, also into a buffer of capacity 0.
        CallGuarded(
            capacity, "GetSyntaxColouringInformation",
            [&](char* b, int32_t* l) { return GetSyntaxColouringInformation(name.c_str(), b, l); },
            vivo::fuzz::Behind::kEmptyNul);
        break;
    }
    }
    return 0;
}
