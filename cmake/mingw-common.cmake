# Shared by the two Windows toolchain files, which set CMAKE_SYSTEM_PROCESSOR and
# TAVRIX_MINGW_PREFIX first. The programs are linked statically so that each .exe runs on a
# bare Windows with no DLL beside it.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${TAVRIX_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${TAVRIX_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${TAVRIX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TAVRIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Release programs carry no symbols: one small file each.
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# The Windows tests run under Wine (its prefix and display come from the environment).
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
