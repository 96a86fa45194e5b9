# Shared by the mingw-w64 toolchain files: each sets CMAKE_SYSTEM_PROCESSOR and VIVO_MINGW_PREFIX first.

# The posix thread model gives the C++ runtime its full thread support; it is linked statically.
find_program(CMAKE_CXX_COMPILER NAMES ${VIVO_MINGW_PREFIX}-g++-posix ${VIVO_MINGW_PREFIX}-g++ REQUIRED)
# C for GoogleTest's own project; windres preprocesses resource scripts with it too.
find_program(CMAKE_C_COMPILER NAMES ${VIVO_MINGW_PREFIX}-gcc-posix ${VIVO_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VIVO_MINGW_PREFIX}-windres REQUIRED)
find_program(CMAKE_OBJDUMP NAMES ${VIVO_MINGW_PREFIX}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${VIVO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs run under Wine (test discovery included), through a wrapper that gives their
# output LF line ends.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
