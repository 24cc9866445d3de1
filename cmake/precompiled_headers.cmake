# SPDX-License-Identifier: Apache-2.0
# Qt's headers are most of what a window, page or test file compiles (about 160,000 lines each).
# Two precompiled headers, each built once per build folder and reused by every target of its
# kind: the widget layers' (Qt Widgets, the standard library) and the Qt tests' (that and
# GoogleTest). The Qt-free core and anything built for Windows take neither.
# -DQN470_PCH=OFF compiles without them.
option(QN470_PCH "Reuse precompiled Qt and test headers across targets" ON)

set(QN470_PCH_QT_HEADERS
    <QtWidgets/QtWidgets> <algorithm> <functional> <map> <memory> <optional> <set> <string> <string_view> <vector>)

# The target (one that links Qt Widgets) compiles with the widget layers' precompiled header.
function(qn470_precompile_qt target)
    if(NOT QN470_PCH)
        return()
    endif()
    if(NOT TARGET qn470_pch_qt)
        add_library(qn470_pch_qt STATIC ${PROJECT_SOURCE_DIR}/cmake/precompiled.cpp)
        target_link_libraries(qn470_pch_qt PUBLIC Qt6::Widgets)
        target_precompile_headers(qn470_pch_qt PRIVATE ${QN470_PCH_QT_HEADERS})
    endif()
    target_precompile_headers(${target} REUSE_FROM qn470_pch_qt)
endfunction()

# The target is a Qt test suite and compiles with the tests' precompiled header.
function(qn470_precompile_qt_test target)
    if(NOT QN470_PCH)
        return()
    endif()
    if(NOT TARGET qn470_pch_qt_test)
        add_library(qn470_pch_qt_test STATIC ${PROJECT_SOURCE_DIR}/cmake/precompiled.cpp)
        # Not QtTest: its definitions name each suite's folder, and a definition that differs
        # from the one the header was built with makes the compiler ignore the header.
        target_link_libraries(qn470_pch_qt_test PUBLIC Qt6::Widgets GTest::gtest GTest::gmock)
        target_precompile_headers(qn470_pch_qt_test PRIVATE ${QN470_PCH_QT_HEADERS}
                                  <gtest/gtest.h> <gmock/gmock.h>)
    endif()
    target_precompile_headers(${target} REUSE_FROM qn470_pch_qt_test)
endfunction()
