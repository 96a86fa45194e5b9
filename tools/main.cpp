// vivo: drives a Vivo plug-in file from the command line, calling its exports as the IDE does.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>

#include "files.h"
#include "host.h"

using namespace vivo::host;

namespace {

constexpr const char* kDefaultPluginName = "Vivo.so";

// The plug-in beside this program, found through /proc/self/exe.
std::string DefaultPluginPath() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return kDefaultPluginName;
    return (self.parent_path() / kDefaultPluginName).string();
}

// "vivo 1.2.1" and the loaded plug-in's product version.
int PrintVersion(Host& host) {
    OutF("vivo %s\n", kHostVersion);
    LoadedPlugin& plugin = host.Plugin();
    const auto bytes = CallWithBuffer(
        [&](char* b, int32_t* l) { return VIVO_EXPORT(plugin, GetDLLProductVersion)(b, l); });
    if (!bytes) throw Failure("the plug-in " + plugin.path() + " does not give its product version");
    const std::vector<std::string> lines = SplitNulList(*bytes);
    OutF("plug-in %s %s\n", plugin.path().c_str(), lines.empty() ? "" : lines[0].c_str());
    return kExitOk;
}

// The command the user reached on the command line: "vivo", "vivo options", "vivo options areas".
std::vector<const CLI::App*> ChosenCommands(const CLI::App& app) {
    std::vector<const CLI::App*> chain{&app};
    for (;;) {
        const std::vector<const CLI::App*> parsed = chain.back()->get_subcommands([](const CLI::App* sub) {
            return sub->parsed();
        });
        if (parsed.empty()) return chain;
        chain.push_back(parsed.front());
    }
}

// One line that says what was wrong and where to look: CLI11's messages, or "unknown command" for a
// word where a command or action was expected.
std::string UsageMessage(const CLI::Error& error, const CLI::App& app, int argc, char** argv) {
    const std::vector<const CLI::App*> chain = ChosenCommands(app);
    std::string name = "vivo";
    for (std::size_t i = 1; i < chain.size(); ++i) name += " " + chain[i]->get_name();
    const bool takesCommand = !chain.back()->get_subcommands([](const CLI::App*) { return true; }).empty();
    if (takesCommand) {
        // The first word after the last command reached that is not an option names no command.
        bool after = chain.size() == 1;
        for (int i = 1; i < argc; ++i) {
            const std::string word = argv[i];
            if (!after) {
                after = word == chain.back()->get_name();
                continue;
            }
            if (word.empty() || word[0] == '-') continue;
            if (chain.size() == 1 && i > 1 && std::string(argv[i - 1]) == "--plugin") continue;
            return "unknown command \"" + word + "\" for " + name + " (see " + name + " --help)";
        }
    }
    return std::string(error.what()) + " (see " + name + " --help)";
}

}  // namespace

int main(int argc, char** argv) {
    InstallInterruptHandlers();
    Host host;
    host.pluginPath = DefaultPluginPath();

    CLI::App app{"Drives a Vivo toolchain plug-in as the IDE does: identity, toolchain changes, option "
                 "settings, keywords and build output.",
                 "vivo"};
    app.fallthrough();  // --plugin may follow the command too
    app.require_subcommand(0, 1);
    app.add_option("--plugin", host.pluginPath,
                   "the plug-in file to load (default: Vivo.so beside this program)")
        ->type_name("PATH");
    bool version = false;
    app.add_flag("--version", version, "the host's version and the plug-in's product version");

    AddInfoCommand(app, host);
    AddChangeCommand(app, host);
    AddOptionsCommand(app, host);
    AddKeywordsCommand(app, host);
    AddClassifyCommand(app, host);
    AddEditorCommand(app, host);

    std::string helpTopic;
    CLI::App* help = app.add_subcommand("help", "help on a command: vivo help COMMAND");
    help->add_option("command", helpTopic, "the command")->type_name("COMMAND");
    help->callback([&] {
        host.run = [&]() -> int {
            if (helpTopic.empty()) {
                Out(app.help());
                return kExitOk;
            }
            CLI::App* command = nullptr;
            try {
                command = app.get_subcommand(helpTopic);
            } catch (const CLI::OptionNotFound&) {
                throw Failure("no command \"" + helpTopic + "\" (see vivo --help)");
            }
            Out(command->help("vivo"));
            return kExitOk;
        };
    });

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& request) {
        const int code = app.exit(request, std::cout, std::cerr);
        std::cout.flush();
        return std::cout ? code : kExitFailure;
    } catch (const CLI::CallForAllHelp& request) {
        return app.exit(request, std::cout, std::cerr);
    } catch (const CLI::ParseError& error) {
        std::fprintf(stderr, "vivo: %s\n", UsageMessage(error, app, argc, argv).c_str());
        return kExitFailure;
    }

    try {
        int code = kExitOk;
        if (version) {
            code = PrintVersion(host);
        } else if (host.run) {
            code = host.run();
        } else {
            std::fputs(app.help().c_str(), stderr);
            return kExitFailure;
        }
        FlushOut();
        return code;
    } catch (const Failure& failure) {
        std::fflush(stdout);
        std::fprintf(stderr, "vivo: %s\n", failure.what());
        return failure.exitCode;
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "vivo: not enough memory\n");
        return kExitFailure;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "vivo: %s\n", error.what());
        return kExitFailure;
    }
}
