// vivo info: who the plug-in is, as the host asks when it loads it.
#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "files.h"
#include "host.h"
#include "json_text.h"

namespace vivo::host {
namespace {

struct FileType {
    std::string description;
    std::string kind;
    std::vector<std::string> extensions;
};

struct Identity {
    uint32_t major = 0, minor = 0, ordinal = 0;
    std::string product, type;
    std::vector<FileType> fileTypes;
    std::vector<std::string> templates;
};

std::string FirstOrEmpty(const std::vector<std::string>& list) { return list.empty() ? std::string() : list[0]; }

std::vector<std::string> SplitBars(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        std::size_t bar = line.find('|', start);
        fields.push_back(line.substr(start, bar - start));
        if (bar == std::string::npos) return fields;
        start = bar + 1;
    }
}

Identity AskIdentity(LoadedPlugin& plugin) {
    Identity id;
    if (VIVO_EXPORT(plugin, GetDLLInterfaceVersion)(&id.major, &id.minor) != 0)
        throw Failure("the plug-in does not give its interface version");
    if (VIVO_EXPORT(plugin, GetDLLOrdinalVersion)(&id.ordinal) != 0)
        throw Failure("the plug-in does not give its ordinal version");
    auto list = [&](auto exportFn, const char* what) {
        auto bytes = CallWithBuffer([&](char* b, int32_t* l) { return exportFn(b, l); });
        if (!bytes) throw Failure(std::string("the plug-in does not give its ") + what);
        return SplitNulList(*bytes);
    };
    id.product = FirstOrEmpty(list(VIVO_EXPORT(plugin, GetDLLProductVersion), "product version"));
    id.type = FirstOrEmpty(list(VIVO_EXPORT(plugin, GetDLLType), "plug-in type"));
    for (const std::string& line : list(VIVO_EXPORT(plugin, GetSupportedFileExtensions), "file types")) {
        std::vector<std::string> fields = SplitBars(line);
        FileType type{fields[0], fields.size() > 1 ? fields[1] : "", {}};
        for (std::size_t i = 2; i < fields.size(); ++i) type.extensions.push_back(fields[i]);
        id.fileTypes.push_back(type);
    }
    id.templates = list(VIVO_EXPORT(plugin, GetTemplates), "templates");
    return id;
}

void PrintText(const Identity& id) {
    OutF("Interface version  %u.%u\n", id.major, id.minor);
    OutF("Product version    %s\n", id.product.c_str());
    OutF("Ordinal version    %u\n", id.ordinal);
    OutF("Plug-in type       %s\n", id.type.c_str());
    OutF("\nFile types (%zu)\n", id.fileTypes.size());
    OutF("  %-30s %-5s %s\n", "Description", "Kind", "Extensions");
    for (const FileType& type : id.fileTypes) {
        std::string extensions;
        for (const std::string& e : type.extensions) extensions += (extensions.empty() ? "" : ", ") + e;
        OutF("  %-30s %-5s %s\n", type.description.c_str(), type.kind.c_str(), extensions.c_str());
    }
    OutF("\nTemplates (%zu)\n", id.templates.size());
    for (const std::string& t : id.templates) OutF("  %s\n", t.c_str());
}

void PrintJson(const Identity& id) {
    Json types = Json::array();
    for (const FileType& type : id.fileTypes)
        types.push_back({{"description", type.description}, {"kind", type.kind}, {"extensions", type.extensions}});
    Out(DumpJson({{"interfaceVersion", {{"major", id.major}, {"minor", id.minor}}},
                  {"productVersion", id.product},
                  {"ordinalVersion", id.ordinal},
                  {"pluginType", id.type},
                  {"fileTypes", types},
                  {"templates", id.templates}}));
}

}  // namespace

void AddInfoCommand(CLI::App& app, Host& host) {
    CLI::App* command = app.add_subcommand(
        "info", "identity of the plug-in: versions, type, the file types it knows, project templates");
    auto json = std::make_shared<bool>(false);
    command->add_flag("--json", *json, "one JSON document instead of the table");
    command->callback([&host, json] {
        host.run = [&host, json] {
            const Identity id = AskIdentity(host.Plugin());
            if (*json)
                PrintJson(id);
            else
                PrintText(id);
            return kExitOk;
        };
    });
}

}  // namespace vivo::host
