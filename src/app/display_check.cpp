// SPDX-License-Identifier: Apache-2.0
#include "app/display_check.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace qn470 {

namespace {

bool isSet(const char* value) {
    return value != nullptr && *value != '\0';
}

bool canDraw(std::string_view name, const DisplayEnvironment& environment) {
    if (name == "xcb") {
        return isSet(environment.display);
    }
    if (name.starts_with("wayland")) {
        return isSet(environment.waylandDisplay);
    }
    // offscreen, minimal, vnc, linuxfb, eglfs ... need no display server; an unknown name is
    // left to Qt, which lists the plugins it has.
    return true;
}

}  // namespace

DisplayEnvironment currentDisplayEnvironment(int argc, char** argv) {
    DisplayEnvironment environment{std::getenv("DISPLAY"), std::getenv("WAYLAND_DISPLAY"),
                                   std::getenv("QT_QPA_PLATFORM")};
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            environment.qpaPlatform = argv[i + 1];
        }
    }
    return environment;
}

bool canShowWindow(const DisplayEnvironment& environment) {
#if defined(_WIN32) || defined(__APPLE__)
    // The desktop is always there.
    (void)environment;
    return true;
#else
    if (!isSet(environment.qpaPlatform)) {
        // Qt's default on Linux: xcb, or wayland inside a Wayland session.
        return isSet(environment.display) || isSet(environment.waylandDisplay);
    }
    // "wayland;xcb" tries each in turn; ":option=value" after a name configures it.
    std::string_view list(environment.qpaPlatform);
    while (!list.empty()) {
        const std::size_t end = std::min(list.find(';'), list.size());
        std::string_view name = list.substr(0, end);
        name = name.substr(0, std::min(name.find(':'), name.size()));
        if (!name.empty() && canDraw(name, environment)) {
            return true;
        }
        list.remove_prefix(std::min(end + 1, list.size()));
    }
    return false;
#endif
}

std::string noDisplayMessage(const std::string& program) {
    return "qn470-config: no display to show the window on (DISPLAY for X11 or WAYLAND_DISPLAY "
           "is not set).\n"
           "  Run it in a desktop session, or log in with a forwarded display: ssh -X HOST\n"
           "  Use the command-line tool instead: qn470 --help\n"
           "  Or draw the window without a display:\n"
           "    QT_QPA_PLATFORM=offscreen " +
           program + " --demo --screenshot out.png\n";
}

}  // namespace qn470
