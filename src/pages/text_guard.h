// SPDX-License-Identifier: Apache-2.0
#pragma once

// Keeps characters out of a text field that would break the parameter's set line on the tracker
// (a comma in a plain text, a line break, `",` in an SMS text ...): an edit that brings one in is
// taken back, and a message naming the field says why, like the typing checks of numbers. A text
// that already broke the rule when it was loaded is left for the user to mend.

#include <functional>

class QLineEdit;

namespace qn470 {

class Prompter;
struct Parameter;

// `parameter` gives the parameter the edit shows at the moment (nullptr: nothing to check).
void guardTextCharacters(QLineEdit& edit, Prompter& prompter,
                         std::function<const Parameter*()> parameter);

}  // namespace qn470
