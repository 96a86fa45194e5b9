#pragma once
// The synthetic build log the build output benchmarks classify, and its cutting into lines.

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <string_view>

namespace vivo::benchmarks {

// What a build of a few hundred files prints: per compiled file a command line, the compiler's two
// banner lines and a progress line; now and then diagnostics (mostly warnings, some with absolute
// and ".." names), linker runs with their banners and linker messages, make's own lines, blank lines.
inline std::string MakeLog(std::size_t bytes) {
    std::mt19937 random(20261205);
    const auto pick = [&](unsigned n) { return static_cast<unsigned>(random() % n); };
    const char* const dirs[] = {"src", "drivers\\uart", "drivers\\can", "middleware\\fs", "app\\control"};
    const char* const warnings[] = {"Pointer conversion loses information", "Variable \"count\" is never used",
                                    "Implicit conversion from \"long\" to \"short\"", "Statement not reached"};
    std::string log;
    log.reserve(bytes + 4096);
    char line[512];
    while (log.size() < bytes) {
        const unsigned file = pick(900);
        const char* dir = dirs[pick(5)];
        std::snprintf(line, sizeof line,
                      "kzcc -cpu=kz600 -lang=c99 -include=\"$(PROJDIR)\\inc\",\"$(PROJDIR)\\%s\" -define=BOARD_REV=3,NDEBUG "
                      "-optimize=2 -debug -output=obj=\"$(CONFIGDIR)\\obj\\file%u.obj\" \"$(PROJDIR)\\%s\\file%u.c\"\n",
                      dir, file, dir, file);
        log += line;
        log += "KZ Family C/C++ Compiler V1.02.01.000 [12 Nov 2026]\n";
        log += "Copyright (C) 2010, 2026 Veltora Corporation\n";
        std::snprintf(line, sizeof line, "Compiling %s\\file%u.c ...\n", dir, file);
        log += line;
        const unsigned diagnostics = pick(10) < 7 ? 0 : 1 + pick(3);
        for (unsigned d = 0; d < diagnostics; ++d) {
            const unsigned kind = pick(20);
            if (kind < 14) {
                std::snprintf(line, sizeof line, "..\\%s\\file%u.c(%u) : C%u (W) %s\n", dir, file, 1 + pick(2000),
                              5000 + pick(900), warnings[pick(4)]);
            } else if (kind < 16) {
                std::snprintf(line, sizeof line, "C:\\work\\kz\\proj\\build\\..\\%s\\file%u.h(%u) : C%u (W) %s\n", dir,
                              file, 1 + pick(400), 5000 + pick(900), warnings[pick(4)]);
            } else if (kind < 18) {
                std::snprintf(line, sizeof line, "..\\%s\\file%u.c(%u) : C%u (E) Syntax error near \"}\"\n", dir, file,
                              1 + pick(2000), 2000 + pick(900));
            } else {
                std::snprintf(line, sizeof line, "..\\%s\\file%u.c(%u) : C%u (I) Function \"f%u\" was inlined\n", dir,
                              file, 1 + pick(2000), 100 + pick(100), pick(50));
            }
            log += line;
        }
        const unsigned extra = pick(40);
        if (extra == 0) {
            log += "if not exist \"$(CONFIGDIR)\\obj\" mkdir \"$(CONFIGDIR)\\obj\"\n";
            log += "bindex -form=absolute -output=project.abs -list=project.map -subcommand=link.cmd\n";
            log += "Bindex Linkage Editor Ver. 10.03.00 [12 Nov 2026]\n";
            log += "** L1100 (W) Cannot find \"P\" specified in option \"start\"\n";
            log += "Bindex Linkage Editor Completed\n";
        } else if (extra < 6) {
            std::snprintf(line, sizeof line, "make[%u]: Entering directory '/home/build/kz/proj/%s'\n", 1 + pick(3), dir);
            log += line;
        } else if (extra < 10) {
            log += "\n";
        }
    }
    return log;
}

// Calls `each(line)` for every line of `text`, cut at "\n" with memchr.
template <class Each>
std::size_t ForEachLine(std::string_view text, Each&& each) {
    std::size_t lines = 0;
    const char* p = text.data();
    const char* const end = p + text.size();
    while (p < end) {
        const char* newline = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        if (newline == nullptr) newline = end;
        each(std::string_view(p, static_cast<std::size_t>(newline - p)));
        ++lines;
        p = newline + 1;
    }
    return lines;
}

}  // namespace vivo::benchmarks
