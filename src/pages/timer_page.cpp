// SPDX-License-Identifier: Apache-2.0
#include "pages/timer_page.h"

#include "pages/choice_fields.h"
#include "pages/weekday_dialog.h"

namespace qn470 {
namespace {

enum Group { kTimer0, kTimer1, kTimer2, kTimer3 };

constexpr GroupSpec kGroups[] = {
    {"Timer 0", 0},
    {"Timer 1", 0},
    {"Timer 2", 1},
    {"Timer 3", 1},
};

// While typing (and filling) any value the tracker holds passes. Leaving asks for seconds of the
// day, as the page's hints say: a start at 86400 or an end at 0 would never come.
LeavingRules startRules(std::string_view code) {
    return {trackerRule(code), pageRule(code, 0, false, 86399)};
}
LeavingRules endRules(std::string_view code) {
    return {trackerRule(code), pageRule(code, 1, false, 86400)};
}
LeavingRules intervalRules(std::string_view code) {
    return checkedOnLeaving(pageRule(code, 1));
}

const LeavingRules kW0 = startRules("W0"), kW1 = endRules("W1"), kW2 = intervalRules("W2");
const LeavingRules kX0 = startRules("X0"), kX1 = endRules("X1"), kX2 = intervalRules("X2");
const LeavingRules kY0 = startRules("Y0"), kY1 = endRules("Y1"), kY2 = intervalRules("Y2");
const LeavingRules kZ0 = startRules("Z0"), kZ1 = endRules("Z1"), kZ2 = intervalRules("Z2");

FieldBinding number(int id, std::string_view code, int group, const LeavingRules& rules) {
    return numberField(id, code, group, Exchange::Unsigned, &rules.typing, &rules.leaving);
}
FieldBinding weekdays(int id, std::string_view code, int group) {
    return choiceField(id, code, group, Conversion::HexByte, &CWeekday::create);
}

// Table order is the order of loading and of reading back: timer by timer.
const FieldBinding kFields[] = {
    number(2501, "W0", kTimer0, kW0), number(2502, "W1", kTimer0, kW1),
    number(2503, "W2", kTimer0, kW2), weekdays(1107, "W3", kTimer0),
    mediaField(1103, "W4", kTimer0),  actionField(1148, "W5", kTimer0),

    number(2506, "X0", kTimer1, kX0), number(2507, "X1", kTimer1, kX1),
    number(2508, "X2", kTimer1, kX2), weekdays(1108, "X3", kTimer1),
    mediaField(1105, "X4", kTimer1),  actionField(1150, "X5", kTimer1),

    number(2511, "Y0", kTimer2, kY0), number(2512, "Y1", kTimer2, kY1),
    number(2513, "Y2", kTimer2, kY2), weekdays(1109, "Y3", kTimer2),
    mediaField(1104, "Y4", kTimer2),  actionField(1149, "Y5", kTimer2),

    number(2516, "Z0", kTimer3, kZ0), number(2517, "Z1", kTimer3, kZ1),
    number(2518, "Z2", kTimer3, kZ2), weekdays(1110, "Z3", kTimer3),
    mediaField(1106, "Z4", kTimer3),  actionField(1151, "Z5", kTimer3),
};

}  // namespace

CReportPage2::CReportPage2(const PageContext& context, QWidget* parent)
    : CPage(context, kTimerPage, parent) {
    // A record value outside a field's rule is reported while the page is filled.
    build(PageSpec{kGroups, kFields, true, true});
}

}  // namespace qn470
