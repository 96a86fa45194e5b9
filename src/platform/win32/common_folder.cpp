#include "platform/common_folder.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#include <shlobj.h>

namespace vivo::platform {
namespace {

constexpr int kCommonApplicationData = 35;  // CSIDL_COMMON_APPDATA

}  // namespace

std::string CommonAppDataFolder() {
    char folder[MAX_PATH + 1] = {};
    if (!SHGetSpecialFolderPathA(nullptr, folder, kCommonApplicationData, FALSE)) return {};
    std::string result(folder);
    // "C:\ProgramData\" joins as "C:\ProgramData\Veltora", not "C:\ProgramData\\Veltora".
    while (result.size() > 3 && result.back() == '\\') result.pop_back();
    return result;
}

}  // namespace vivo::platform
