#include "support/posix/host_runner.h"

#include <sys/wait.h>

#include <cstdlib>

#include "support/plugin.h"

namespace vivo::test {

namespace fs = std::filesystem;

std::string Quoted(std::string_view text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

HostRun RunShell(const std::string& script, const fs::path& dir) {
    TempDir scratch;
    const fs::path file = scratch.Write("script.sh", "HOST=" + Quoted(VIVO_HOST_FILE) + "\nVIVO=\"$HOST --plugin " +
                                                         BuiltPluginFile().string() + "\"\n" + script + "\n");
    const fs::path out = scratch.path() / "out", err = scratch.path() / "err";
    const std::string command = "cd " + Quoted((dir.empty() ? fs::current_path() : dir).string()) + " && bash " +
                                Quoted(file.string()) + " </dev/null >" + Quoted(out.string()) + " 2>" +
                                Quoted(err.string());
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(out), ReadBytes(err)};
}

std::map<std::string, std::string> FilesBelow(const fs::path& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        files[fs::relative(entry.path(), dir).string()] = entry.is_regular_file() ? ReadBytes(entry.path()) : "<dir>";
    return files;
}

HostRun RunVivo(const std::vector<std::string>& words) {
    std::string script = "\"$HOST\" --plugin " + Quoted(BuiltPluginFile().string());
    for (const std::string& word : words) script += " " + Quoted(word);
    return RunShell(script);
}

}  // namespace vivo::test
