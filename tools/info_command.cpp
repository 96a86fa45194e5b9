// vivo info: who the plug-in is, as the host asks when it loads it.
#include <cstdio>
#include <string>
#include <vector>

#include "host.h"

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
        throw UsageError("the plug-in does not give its interface version");
    if (VIVO_EXPORT(plugin, GetDLLOrdinalVersion)(&id.ordinal) != 0)
        throw UsageError("the plug-in does not give its ordinal version");
    auto list = [&](auto exportFn, const char* what) {
        auto bytes = CallWithBuffer([&](char* b, int32_t* l) { return exportFn(b, l); });
        if (!bytes) throw UsageError(std::string("the plug-in does not give its ") + what);
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
    std::printf("Interface version  %u.%u\n", id.major, id.minor);
    std::printf("Product version    %s\n", id.product.c_str());
    std::printf("Ordinal version    %u\n", id.ordinal);
    std::printf("Plug-in type       %s\n", id.type.c_str());
    std::printf("\nFile types (%zu)\n", id.fileTypes.size());
    std::printf("  %-30s %-5s %s\n", "Description", "Kind", "Extensions");
    for (const FileType& type : id.fileTypes) {
        std::string extensions;
        for (const std::string& e : type.extensions) extensions += (extensions.empty() ? "" : ", ") + e;
        std::printf("  %-30s %-5s %s\n", type.description.c_str(), type.kind.c_str(), extensions.c_str());
    }
    std::printf("\nTemplates (%zu)\n", id.templates.size());
    for (const std::string& t : id.templates) std::printf("  %s\n", t.c_str());
}

void PrintJson(const Identity& id) {
    std::printf("{\n  \"interfaceVersion\": {\"major\": %u, \"minor\": %u},\n", id.major, id.minor);
    std::printf("  \"productVersion\": %s,\n", JsonString(id.product).c_str());
    std::printf("  \"ordinalVersion\": %u,\n", id.ordinal);
    std::printf("  \"pluginType\": %s,\n", JsonString(id.type).c_str());
    std::printf("  \"fileTypes\": [");
    for (std::size_t i = 0; i < id.fileTypes.size(); ++i) {
        const FileType& type = id.fileTypes[i];
        std::printf("%s\n    {\"description\": %s, \"kind\": %s, \"extensions\": [", i ? "," : "",
                    JsonString(type.description).c_str(), JsonString(type.kind).c_str());
        for (std::size_t e = 0; e < type.extensions.size(); ++e)
            std::printf("%s%s", e ? ", " : "", JsonString(type.extensions[e]).c_str());
        std::printf("]}");
    }
    std::printf("\n  ],\n  \"templates\": [");
    for (std::size_t i = 0; i < id.templates.size(); ++i)
        std::printf("%s\n    %s", i ? "," : "", JsonString(id.templates[i]).c_str());
    std::printf("%s]\n}\n", id.templates.empty() ? "" : "\n  ");
}

}  // namespace

int RunInfo(LoadedPlugin& plugin, const Arguments& args) {
    if (!args.positional.empty()) throw UsageError("info takes no arguments");
    const Identity id = AskIdentity(plugin);
    if (args.Has("--json"))
        PrintJson(id);
    else
        PrintText(id);
    return 0;
}

}  // namespace vivo::host
