# SPDX-License-Identifier: Apache-2.0
# Every build goes through ccache when it is installed (Debian package ccache): a second clone,
# the package and a rebuild after a branch switch then compile only what really changed.
# Paths below the checkout are hashed relative to it and the build folder is not hashed, so a
# clone elsewhere, or another build folder of the same configuration, takes the cached objects
# (their debug information then names the folder that first compiled them). The sloppiness lets
# ccache cache files compiled with a precompiled header (cmake/precompiled_headers.cmake): it
# hashes the header's own bytes, not its time stamps.
# -DQN470_CCACHE=OFF, or a launcher of one's own, leaves it out.
option(QN470_CCACHE "Compile through ccache when it is installed" ON)
find_program(QN470_CCACHE_PROGRAM ccache)
mark_as_advanced(QN470_CCACHE_PROGRAM)
if(QN470_CCACHE AND QN470_CCACHE_PROGRAM)
    foreach(language C CXX)
        if(NOT CMAKE_${language}_COMPILER_LAUNCHER)
            set(CMAKE_${language}_COMPILER_LAUNCHER
                ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} CCACHE_NOHASHDIR=1
                CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
                ${QN470_CCACHE_PROGRAM})
        endif()
    endforeach()
endif()
