# Cross build of the Windows plug-in with Debian's mingw-w64 (i686): the product for the 32-bit host.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VIVO_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# SSE2, which every processor that runs a current Windows has (Windows 8 and later require it): the
# build output searches compare 16 bytes at a time, as in the x86_64 build.
set(CMAKE_C_FLAGS_INIT "-msse2")
set(CMAKE_CXX_FLAGS_INIT "-msse2")
