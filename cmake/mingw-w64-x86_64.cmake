# SPDX-License-Identifier: Apache-2.0
# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 compilers. The posix flavour has
# std::thread and std::async, which GoogleTest and the tests use.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QN470_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QN470_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QN470_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QN470_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QN470_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The .exe files then run without the compiler's DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++ -static")
