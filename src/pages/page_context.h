// SPDX-License-Identifier: Apache-2.0
#pragma once

// What a page and its dialogs work on: the parameter set, the page registry, and the two ways of
// asking the user (message boxes and choice dialogs). All are owned by the application state.

#include "config/parameter_set.h"
#include "pages/choice_runner.h"
#include "pages/page_registry.h"
#include "session/prompter.h"

namespace qn470 {

struct PageContext {
    ParameterSet& parameters;
    PageRegistry& registry;
    Prompter& prompter;
    ChoiceRunner& choices;
};

}  // namespace qn470
