// SPDX-License-Identifier: Apache-2.0
#pragma once

// Text from a tracker, a file or a database shown on a terminal, in the window or in a CSV: a
// control character must never reach a terminal or a spreadsheet raw, where ESC [2J clears the
// screen and an OSC sequence retitles it.

#include <string>
#include <string_view>

namespace qn470 {

// `utf8` with every C0 control (U+0000-U+001F, tab and line ends too), DEL (U+007F) and C1
// control (U+0080-U+009F) written as "\xHH", and every byte that is not part of well-formed
// UTF-8 written as "\xHH" of that byte. Everything else, a backslash too, stays as it is: the
// result is for reading, not for parsing back; the journal keeps the exact value.
std::string escapeControls(std::string_view utf8);

}  // namespace qn470
