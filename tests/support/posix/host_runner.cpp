#include "support/posix/host_runner.h"

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "support/plugin.h"

namespace vivo::test {

HostRun RunHost(const std::string& arguments, const std::string& input) {
    TempDir dir;
    const std::string in = dir.Write("stdin", input).string();
    const std::string out = (dir.path() / "stdout").string();
    const std::string err = (dir.path() / "stderr").string();
    const std::string command = std::string("'") + VIVO_HOST_FILE + "' " + arguments + " <'" + in + "' >'" + out +
                                "' 2>'" + err + "'";
    const int status = std::system(command.c_str());
    HostRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    auto slurp = [](const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    };
    run.out = slurp(out);
    run.err = slurp(err);
    return run;
}

}  // namespace vivo::test
