#include "host.h"

namespace vivo::host {

int RunInfo(LoadedPlugin& plugin, const Arguments& args);
int RunChange(LoadedPlugin& plugin, const Arguments& args);
int RunKeywords(LoadedPlugin& plugin, const Arguments& args);
int RunClassify(LoadedPlugin& plugin, const Arguments& args);
int RunOptions(LoadedPlugin& plugin, const Arguments& args);

const std::vector<Command>& Commands() {
    static const std::vector<Command> commands = {
        {"info", "identity of the plug-in: versions, type, file types, templates  [--json]", {}, RunInfo},
        {"change", "PROJECT --to VERSION: moves a project file to a KZ toolchain version  "
         "[--output FILE] [--report FILE.json] [--dry-run]",
         {"--to", "--output", "--report"}, RunChange},
        {"keywords", "keyword lines of a file type: NAME, or --version", {}, RunKeywords},
        {"options", "ACTION: include directories, defines, libraries, linker answers, memory areas, assembler "
         "options of an option string (--options TEXT|--options-file FILE|--project FILE) [--tool NAME] [--json]",
         {"--options", "--options-file", "--project", "--tool", "--output", "--area", "--from", "--to"}, RunOptions},
        {"classify", "diagnostics of a build log: [FILE|-] [--format text|jsonl|sarif]", {"--format"}, RunClassify},
    };
    return commands;
}

}  // namespace vivo::host
