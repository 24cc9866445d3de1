#pragma once

// Rows for the two kinds of choice field every page has: a report media byte and an action text.

#include "pages/action_dialog.h"
#include "pages/field_binding.h"
#include "pages/media_choice_dialog.h"

namespace qn470 {

constexpr FieldBinding mediaField(int id, std::string_view code, int group, const char* label,
                                  const char* hint = "(Media type)") {
    return choiceField(id, code, group, label, hint, Conversion::HexByte, &CMedia_Choice::create);
}

// A media field whose SMS choice cannot be changed.
constexpr FieldBinding mediaFieldWithoutSms(int id, std::string_view code, int group,
                                            const char* label, const char* hint = "(Media type)") {
    return choiceField(id, code, group, label, hint, Conversion::HexByte,
                       &CMedia_Choice::createWithoutSms);
}

constexpr FieldBinding actionField(int id, std::string_view code, int group, const char* label,
                                   const char* hint = "(Action type)") {
    return choiceField(id, code, group, label, hint, Conversion::Text, &CAction::create);
}

}  // namespace qn470
