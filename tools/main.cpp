// vivo: drives a Vivo plug-in file from the command line, calling its exports as the IDE does.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>

#include "host.h"

using namespace vivo::host;

namespace {

constexpr const char* kDefaultPluginName = "Vivo.so";

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage: vivo [--plugin PATH] COMMAND [ARGS]\n\ncommands:\n");
    for (const Command& command : Commands()) std::fprintf(out, "  %-10s %s\n", command.name, command.summary);
    std::fprintf(out, "\n--plugin PATH  the plug-in file to load (default: %s beside this program)\n",
                 kDefaultPluginName);
}

// The plug-in beside this program, found through /proc/self/exe.
std::string DefaultPluginPath() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return kDefaultPluginName;
    return (self.parent_path() / kDefaultPluginName).string();
}

Arguments ParseArguments(const Command& command, int argc, char** argv, int first) {
    Arguments args;
    for (int i = first; i < argc; ++i) {
        std::string word = argv[i];
        if (word.size() > 2 && word.rfind("--", 0) == 0) {
            std::string value;
            std::size_t equals = word.find('=');
            if (equals != std::string::npos) {
                value = word.substr(equals + 1);
                word.resize(equals);
            } else if (std::find(command.valueOptions.begin(), command.valueOptions.end(), word) !=
                       command.valueOptions.end()) {
                if (i + 1 >= argc) throw UsageError(word + " needs a value");
                value = argv[++i];
            }
            args.options.emplace_back(word, value);
        } else {
            args.positional.push_back(word);
        }
    }
    return args;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        std::string pluginPath = DefaultPluginPath();
        int i = 1;
        for (; i < argc; ++i) {
            if (std::strcmp(argv[i], "--plugin") == 0) {
                if (i + 1 >= argc) throw UsageError("--plugin needs a path");
                pluginPath = argv[++i];
            } else if (std::strncmp(argv[i], "--plugin=", 9) == 0) {
                pluginPath = argv[i] + 9;
            } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
                PrintUsage(stdout);
                return 0;
            } else {
                break;
            }
        }
        if (i >= argc) {
            PrintUsage(stderr);
            return 2;
        }
        const Command* command = nullptr;
        for (const Command& candidate : Commands())
            if (candidate.name == std::string_view(argv[i])) command = &candidate;
        if (command == nullptr) throw UsageError(std::string("unknown command: ") + argv[i] + " (see vivo --help)");
        Arguments args = ParseArguments(*command, argc, argv, i + 1);
        LoadedPlugin plugin(pluginPath);
        return command->run(plugin, args);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "vivo: %s\n", error.what());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vivo: %s\n", error.what());
        return 2;
    }
}
