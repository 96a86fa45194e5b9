// Fuzz target: classification of one line of build output (GetMakefileOutputLineInfo).
//
// Fields: the line (the rest of the input, separator bytes included).
#include "fuzz/fuzz_support.h"

using vivo::fuzz::Fail;

namespace {

void Drive(vivo::fuzz::Input& in, const vivo::fuzz::Plugin& plugin) {
    const std::string line = in.Rest();
    vivo::fuzz::CallGuarded(in.capacity(), "GetMakefileOutputLineInfo", [&](char* b, int32_t* l) {
        uint32_t recognised = 7, errors = 7, warnings = 7, fatal = 7, flag = 7;
        const int32_t result = plugin.exports.GetMakefileOutputLineInfo(line.c_str(), &recognised, &errors, &warnings, &fatal, b, l, &flag);
        if (result == 0 && recognised > 1) Fail("recognised is neither 0 nor 1", "GetMakefileOutputLineInfo");
        return result;
    });
}

}  // namespace

VIVO_FUZZ_TARGET("build_output", Drive)
