#include "host.h"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace vivo::host {

LoadedPlugin::LoadedPlugin(const std::string& path) : path_(path) {
    // dlopen searches the library path for a name without a slash; the user named a file.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    struct stat info{};
    if (::stat(file.c_str(), &info) != 0)
        throw Failure("cannot load plug-in " + path + ": " + std::strerror(errno));
    if (!S_ISREG(info.st_mode)) throw Failure("cannot load plug-in " + path + ": not a regular file");
    handle_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        const char* reason = dlerror();
        throw Failure("cannot load plug-in " + path + ": " + (reason != nullptr ? reason : "unknown error"));
    }
}

LoadedPlugin::~LoadedPlugin() {
    if (handle_ != nullptr) dlclose(handle_);
}

void* LoadedPlugin::Symbol(const char* name) const {
    void* symbol = dlsym(handle_, name);
    if (symbol == nullptr) throw Failure("plug-in " + path_ + " has no export " + name);
    return symbol;
}

LoadedPlugin& Host::Plugin() {
    if (!plugin_) plugin_ = std::make_unique<LoadedPlugin>(pluginPath);
    return *plugin_;
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

std::string NulList(const std::vector<std::string>& strings, std::string_view what) {
    std::size_t size = 1;
    for (const std::string& s : strings) size += s.size() + 1;
    std::string list;
    list.reserve(size);
    for (const std::string& s : strings) {
        if (s.empty()) throw Failure("an empty " + std::string(what) + " cannot be passed to the plug-in (it would end the list)");
        list += s;
        list += '\0';
    }
    list += '\0';
    return list;
}

std::string WithoutTerminator(std::string bytes) {
    if (!bytes.empty() && bytes.back() == '\0') bytes.pop_back();
    return bytes;
}

}  // namespace vivo::host
