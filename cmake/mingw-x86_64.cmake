# Cross-builds for Windows (x86_64) with the mingw-w64 toolchain.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAVRIX_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
