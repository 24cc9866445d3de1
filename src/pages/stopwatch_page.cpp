// SPDX-License-Identifier: Apache-2.0
#include "pages/stopwatch_page.h"

#include "pages/choice_fields.h"

namespace qn470 {
namespace {

enum Group { kStopwatch0, kStopwatch1, kStopwatch2, kStopwatch3 };

constexpr GroupSpec kGroups[] = {
    {"Stopwatch 0", 0},
    {"Stopwatch 1", 0},
    {"Stopwatch 2", 1},
    {"Stopwatch 3", 1},
};

// The interval is checked as it is typed (up to the tracker's top) and again when it is left,
// when 1 and 2 are refused too: 0 switches the stopwatch off, 3 is the shortest interval. That
// message names the field's whole range from 0.
NumberRule intervalLeaving(std::string_view code) {
    NumberRule rule = pageRule(code, 3, true);
    rule.shownMin = 0;
    return rule;
}

LeavingRules intervalRules(std::string_view code) {
    return {trackerRule(code), intervalLeaving(code)};
}
const LeavingRules kWA = intervalRules("WA"), kXA = intervalRules("XA");
const LeavingRules kYA = intervalRules("YA"), kZA = intervalRules("ZA");

const NumberRule kWBTyping = trackerRule("WB");
const NumberRule kXBTyping = trackerRule("XB");
const NumberRule kYBTyping = trackerRule("YB");
const NumberRule kZBTyping = trackerRule("ZB");

// Table order is the order of loading and of reading back: stopwatch by stopwatch.
const FieldBinding kFields[] = {
    numberField(1134, "WA", kStopwatch0, Exchange::Unsigned, &kWA.typing, &kWA.leaving),
    numberField(1176, "WB", kStopwatch0, Exchange::Unsigned, &kWBTyping),
    mediaField(1130, "WC", kStopwatch0),
    actionField(1144, "WD", kStopwatch0),
    checkField(1213, "WE", kStopwatch0),

    numberField(1135, "XA", kStopwatch1, Exchange::Unsigned, &kXA.typing, &kXA.leaving),
    numberField(1178, "XB", kStopwatch1, Exchange::Unsigned, &kXBTyping),
    mediaField(1131, "XC", kStopwatch1),
    actionField(1145, "XD", kStopwatch1),
    checkField(1214, "XE", kStopwatch1),

    numberField(1136, "YA", kStopwatch2, Exchange::Unsigned, &kYA.typing, &kYA.leaving),
    numberField(1177, "YB", kStopwatch2, Exchange::Unsigned, &kYBTyping),
    mediaField(1132, "YC", kStopwatch2),
    actionField(1146, "YD", kStopwatch2),
    checkField(1215, "YE", kStopwatch2),

    numberField(2307, "ZA", kStopwatch3, Exchange::Unsigned, &kZA.typing, &kZA.leaving),
    numberField(1179, "ZB", kStopwatch3, Exchange::Unsigned, &kZBTyping),
    mediaField(1133, "ZC", kStopwatch3),
    actionField(1147, "ZD", kStopwatch3),
    checkField(1216, "ZE", kStopwatch3),
};

}  // namespace

CStopwatch::CStopwatch(const PageContext& context, QWidget* parent)
    : CPage(context, kStopwatchPage, parent) {
    build(PageSpec{kGroups, kFields, true});
}

}  // namespace qn470
