// SPDX-License-Identifier: Apache-2.0
#pragma once

// Everything the window shares: the parameter set, the page registry, the recent-files list and
// the ways of asking the user. main() creates one and passes it by reference; tests make a
// fresh one per case with their own prompter and settings file.

#include <QSettings>

#include "app/recent_files.h"
#include "config/parameter_set.h"
#include "pages/choice_runner.h"
#include "pages/page_context.h"
#include "pages/page_registry.h"
#include "session/prompter.h"

namespace qn470 {

struct AppState {
    AppState(QSettings& settings, Prompter& prompter, ChoiceRunner& choices)
        : settings(settings), recentFiles(settings), prompter(prompter), choices(choices) {}
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    QSettings& settings;
    ParameterSet parameters;
    PageRegistry pages;
    RecentFiles recentFiles;
    Prompter& prompter;
    ChoiceRunner& choices;

    PageContext pageContext() { return PageContext{parameters, pages, prompter, choices}; }
};

}  // namespace qn470
