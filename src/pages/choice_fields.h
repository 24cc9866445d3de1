// SPDX-License-Identifier: Apache-2.0
#pragma once

// Rows for the two kinds of choice field every page has: a report media byte and an action text.

#include "pages/action_dialog.h"
#include "pages/field_binding.h"
#include "pages/media_choice_dialog.h"

namespace qn470 {

inline FieldBinding mediaField(int id, std::string_view code, int group) {
    return choiceField(id, code, group, Conversion::HexByte, &CMedia_Choice::create);
}

// A media field whose SMS choice cannot be changed.
inline FieldBinding mediaFieldWithoutSms(int id, std::string_view code, int group) {
    return choiceField(id, code, group, Conversion::HexByte, &CMedia_Choice::createWithoutSms);
}

inline FieldBinding actionField(int id, std::string_view code, int group) {
    return choiceField(id, code, group, Conversion::Text, &CAction::create);
}

}  // namespace qn470
