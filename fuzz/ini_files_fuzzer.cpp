// Fuzz target: the INI files the plug-in reads beside itself. The input is written as TC.ini or
// SyntaxColouring.ini beside the plug-in (a fuzz target holds the plug-in's code, so that is beside the
// program), then read through the exports; or it goes straight to the INI parser.
//
// Fields: the INI text, a section, a key, a file type name, source toolchain and version, target
// toolchain and version. Selector: which file and which reader.
#include <cstdio>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/private_profile.h"

using vivo::fuzz::CallGuarded;
using vivo::fuzz::Fail;

namespace {

void WriteFile(const std::string& path, const std::string& content) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) Fail("cannot write the INI file", path.c_str());
    std::fwrite(content.data(), 1, content.size(), file);
    std::fclose(file);
}

// The INI parser on its own.
[[maybe_unused]] void CheckParser(const std::string& ini, const std::string& section, const std::string& key) {
    const std::optional<std::string> value = vivo::platform::FindProfileValue(ini, section, key);
    if (value && value->size() > ini.size()) Fail("value longer than the file", "FindProfileValue");
}

void Drive(vivo::fuzz::Input& in, const vivo::fuzz::Plugin& plugin) {
    const vivo::fuzz::Exports& x = plugin.exports;
    const int32_t capacity = in.capacity();
    const std::string ini = in.Text(), section = in.Text(), key = in.Text(), name = in.Text();
    const std::string fromName = in.Text(), fromVersion = in.Text(), toName = in.Text(), toVersion = in.Text();

    switch (in.selector() % 3) {
    case 0: VIVO_FUZZ_INTERNAL(CheckParser(ini, section, key)); break;
    case 1: {
        const std::string path = plugin.folder + "TC.ini";
        WriteFile(path, ini);
        const VivoToolchainRecord from = vivo::fuzz::Record(fromName, fromVersion);
        const VivoToolchainRecord to = vivo::fuzz::Record(toName, toVersion);
        CallGuarded(capacity, "GetTemplates", [&](char* b, int32_t* l) { return x.GetTemplates(b, l); });
        (void)x.CanUpgradeToolchain(&from, &to);
        VIVO_FUZZ_INTERNAL(
            (void)vivo::platform::ReadProfileString(path, section, key, "default ", static_cast<std::size_t>(capacity)));
        break;
    }
    default: {
        WriteFile(plugin.folder + "SyntaxColouring.ini", ini);
        uint32_t version = 0;
        (void)x.GetSyntaxColouringVersion(&version);
        // An unknown name is answered with length 0 and one NUL, also into a buffer of capacity 0.
        CallGuarded(
            capacity, "GetSyntaxColouringInformation",
            [&](char* b, int32_t* l) { return x.GetSyntaxColouringInformation(name.c_str(), b, l); },
            vivo::fuzz::Behind::kEmptyNul);
        break;
    }
    }
}

}  // namespace

VIVO_FUZZ_TARGET("ini_files", Drive)
