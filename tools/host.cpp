#include "host.h"

#include <dlfcn.h>

#include <cstdio>

namespace vivo::host {

LoadedPlugin::LoadedPlugin(const std::string& path) : path_(path) {
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        throw UsageError("cannot load plug-in " + path + ": " + (reason != nullptr ? reason : "unknown error"));
    }
}

LoadedPlugin::~LoadedPlugin() {
    if (handle_ != nullptr) dlclose(handle_);
}

void* LoadedPlugin::Symbol(const char* name) const {
    void* symbol = dlsym(handle_, name);
    if (symbol == nullptr) throw UsageError("plug-in " + path_ + " has no export " + name);
    return symbol;
}

std::vector<std::string> SplitNulList(std::string_view bytes) {
    std::vector<std::string> strings;
    std::size_t pos = 0;
    while (pos < bytes.size() && bytes[pos] != '\0') {
        std::size_t end = bytes.find('\0', pos);
        if (end == std::string_view::npos) end = bytes.size();
        strings.emplace_back(bytes.substr(pos, end - pos));
        pos = end + 1;
    }
    return strings;
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", c);
                    out += escape;
                } else {
                    out += static_cast<char>(c);
                }
        }
    }
    out += '"';
    return out;
}

bool Arguments::Has(std::string_view name) const {
    for (const auto& option : options)
        if (option.first == name) return true;
    return false;
}

std::optional<std::string> Arguments::Value(std::string_view name) const {
    for (const auto& option : options)
        if (option.first == name) return option.second;
    return std::nullopt;
}

}  // namespace vivo::host
