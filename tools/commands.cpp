#include "host.h"

namespace vivo::host {

int RunInfo(LoadedPlugin& plugin, const Arguments& args);

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"info", "identity of the plug-in: versions, type, file types, templates  [--json]", {}, RunInfo},
    };
    return commands;
}

}  // namespace vivo::host
