// vivo keywords: the keyword lines the host's editor gets for one file type, as the plug-in reads them
// from SyntaxColouring.ini beside it and in the machine-wide application-data folder.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <string>

#include "files.h"
#include "host.h"

namespace vivo::host {
namespace {

int PrintVersion(LoadedPlugin& plugin) {
    uint32_t version = 0;
    if (VIVO_EXPORT(plugin, GetSyntaxColouringVersion)(&version) != 0) {
        std::fprintf(stderr, "vivo: the colouring files hold no version\n");
        return kExitProblems;
    }
    OutF("%u\n", version);
    return kExitOk;
}

int PrintKeywords(LoadedPlugin& plugin, const std::string& name) {
    const auto information = VIVO_EXPORT(plugin, GetSyntaxColouringInformation);
    std::optional<std::string> text =
        CallWithBuffer([&](char* buffer, int32_t* len) { return information(name.c_str(), buffer, len); });
    if (!text) throw Failure("the plug-in gives no keywords for \"" + name + "\"");
    *text = WithoutTerminator(*text);  // the length counts the terminator
    if (text->empty()) {
        std::fprintf(stderr, "vivo: no keywords for \"%s\"\n", name.c_str());
        return kExitProblems;
    }
    Out(*text);
    return kExitOk;
}

}  // namespace

void AddKeywordsCommand(CLI::App& app, Host& host) {
    CLI::App* command = app.add_subcommand(
        "keywords", "the editor's keyword lines for a file type (from SyntaxColouring.ini), or their version");
    auto name = std::make_shared<std::string>();
    auto version = std::make_shared<bool>(false);
    command->add_option("name", *name, "a file type, such as \"C source file\"")->type_name("NAME");
    command->add_flag("--version", *version, "the keyword data's version instead");
    command->callback([&host, name, version] {
        host.run = [&host, name, version] {
            if (*version) {
                if (!name->empty()) throw Failure("keywords: give a file type or --version, not both");
                return PrintVersion(host.Plugin());
            }
            if (name->empty()) throw Failure("keywords needs one file type name, such as \"C source file\"");
            return PrintKeywords(host.Plugin(), *name);
        };
    });
}

}  // namespace vivo::host
