// SPDX-License-Identifier: Apache-2.0
#pragma once

// Whether the window can be shown at all, decided before QApplication exists: Qt aborts (core
// dump included) when its platform plugin finds no display, which over ssh says nothing useful.

#include <string>

namespace qn470 {

struct DisplayEnvironment {
    const char* display = nullptr;         // DISPLAY
    const char* waylandDisplay = nullptr;  // WAYLAND_DISPLAY
    const char* qpaPlatform = nullptr;     // -platform NAME, else QT_QPA_PLATFORM
};

// The environment of this process; -platform NAME in the arguments wins over QT_QPA_PLATFORM,
// as it does in Qt.
DisplayEnvironment currentDisplayEnvironment(int argc, char** argv);

// True when some platform plugin of the list can draw: one that needs no display server
// (offscreen, minimal, vnc, eglfs ...) or a display server whose variable is set.
bool canShowWindow(const DisplayEnvironment& environment);

// What to do instead, for standard error; program is how the window was started.
std::string noDisplayMessage(const std::string& program);

}  // namespace qn470
