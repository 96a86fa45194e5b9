#include "host.h"

namespace vivo::host {

int RunInfo(LoadedPlugin& plugin, const Arguments& args);
int RunChange(LoadedPlugin& plugin, const Arguments& args);
int RunKeywords(LoadedPlugin& plugin, const Arguments& args);
int RunClassify(LoadedPlugin& plugin, const Arguments& args);

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"info", "identity of the plug-in: versions, type, file types, templates  [--json]", {}, RunInfo},
        {"change", "PROJECT --to VERSION: moves a project file to a KZ toolchain version  [--output FILE] [--dry-run]",
         {"--to", "--output"}, RunChange},
        {"keywords", "keyword lines of a file type: NAME, or --version", {}, RunKeywords},
        {"classify", "diagnostics of a build log: [FILE|-] [--format text|jsonl|sarif]", {"--format"}, RunClassify},
    };
    return commands;
}

}  // namespace vivo::host
