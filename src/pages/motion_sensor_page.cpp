// SPDX-License-Identifier: Apache-2.0
#include "pages/motion_sensor_page.h"

#include "pages/choice_fields.h"

namespace qn470 {
namespace {

enum Group { kStatic, kMoving, kStateChange };

// The longest labels and hints wrap so the groups fit the window's width.
constexpr GroupSpec kGroups[] = {
    {.title = "Static state", .column = 0, .labelChars = 30},
    {.title = "Moving state", .column = 0, .labelChars = 30},
    {.title = "State change", .column = 1, .labelChars = 40, .hintChars = 27},
};

// On leaving, the page's least value or 0 to switch the function off (the tracker takes any);
// while typing only the top is checked.
const LeavingRules kRa = checkedOnLeaving(pageRule("Ra", 3, true));
const LeavingRules kRi = checkedOnLeaving(pageRule("Ri", 3, true));
const LeavingRules kRo = checkedOnLeaving(pageRule("Ro", 50, true));
const LeavingRules kRp = checkedOnLeaving(pageRule("Rp", 50, true));
const LeavingRules kRw = checkedOnLeaving(pageRule("Rw", 30, true));
const LeavingRules kRx = checkedOnLeaving(pageRule("Rx", 3, true));
const LeavingRules kRy = checkedOnLeaving(pageRule("Ry", 3, true));
const NumberRule kRzTyping = trackerRule("Rz");

FieldBinding number(int id, std::string_view code, int group, const LeavingRules& rules) {
    return numberField(id, code, group, Exchange::Unsigned, &rules.typing, &rules.leaving);
}

// Table order is the order of loading and of reading back.
const FieldBinding kFields[] = {
    number(1160, "Ra", kStatic, kRa),
    mediaField(1156, "Rb", kStatic),
    actionField(1148, "Rc", kStatic),
    checkField(1198, "Rd", kStatic),
    checkField(1074, "Re", kStatic),
    checkField(1075, "Rf", kStatic),
    number(1159, "Ri", kMoving, kRi),
    mediaField(1161, "Rj", kMoving),
    actionField(1145, "Rk", kMoving),
    checkField(1197, "Rl", kMoving),
    checkField(1076, "Rn", kMoving),
    number(1164, "Ro", kMoving, kRo),
    number(1102, "Rp", kMoving, kRp),
    mediaField(1157, "Rs", kStateChange),
    mediaField(1158, "Rt", kStateChange),
    actionField(1162, "Ru", kStateChange),
    actionField(1163, "Rv", kStateChange),
    number(1051, "Rw", kStateChange, kRw),
    number(1049, "Rx", kStateChange, kRx),
    number(1052, "Ry", kStateChange, kRy),
    numberField(1056, "Rz", kStateChange, Exchange::Unsigned, &kRzTyping),
};

}  // namespace

CSensor::CSensor(const PageContext& context, QWidget* parent)
    : CPage(context, kMotionSensorPage, parent) {
    build(PageSpec{kGroups, kFields, true});
}

}  // namespace qn470
