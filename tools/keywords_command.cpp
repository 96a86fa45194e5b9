// vivo keywords: the keyword lines the host's editor gets for one file type, as the plug-in reads them
// from SyntaxColouring.ini beside it and in the machine-wide application-data folder.
#include <cstdio>
#include <string>

#include "host.h"

namespace vivo::host {

int RunKeywords(LoadedPlugin& plugin, const Arguments& args) {
    if (args.Has("--version")) {
        uint32_t version = 0;
        if (VIVO_EXPORT(plugin, GetSyntaxColouringVersion)(&version) != 0) {
            std::fprintf(stderr, "vivo: the colouring files hold no version\n");
            return 1;
        }
        std::printf("%u\n", version);
        return 0;
    }
    if (args.positional.size() != 1) throw UsageError("keywords needs one file type name, such as \"C source file\"");

    const std::string& name = args.positional[0];
    const auto information = VIVO_EXPORT(plugin, GetSyntaxColouringInformation);
    std::optional<std::string> text =
        CallWithBuffer([&](char* buffer, int32_t* len) { return information(name.c_str(), buffer, len); });
    if (!text) throw UsageError("the plug-in gives no keywords for \"" + name + "\"");
    if (!text->empty() && text->back() == '\0') text->pop_back();  // the length counts the terminator
    if (text->empty()) {
        std::fprintf(stderr, "vivo: no keywords for \"%s\"\n", name.c_str());
        return 1;
    }
    std::fwrite(text->data(), 1, text->size(), stdout);
    return 0;
}

}  // namespace vivo::host
