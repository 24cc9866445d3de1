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

constexpr const char* kIntervalHint = "(3 ~ 4Giga sec)";
constexpr const char* kCountHint = "(0 ~ 255, 0=continuously)";

// Table order is the order of loading and of reading back: stopwatch by stopwatch.
const FieldBinding kFields[] = {
    numberField(1134, "WA", kStopwatch0, "(WA) Report interval :", kIntervalHint,
                Exchange::Unsigned, &kWA.typing, &kWA.leaving),
    numberField(1176, "WB", kStopwatch0, "(WB) Number of report", kCountHint, Exchange::Unsigned,
                &kWBTyping),
    mediaField(1130, "WC", kStopwatch0, "(WC) Report Media :"),
    actionField(1144, "WD", kStopwatch0, "(WD) Action :"),
    checkField(1213, "WE", kStopwatch0, "(WE) Enable Stopwatch"),

    numberField(1135, "XA", kStopwatch1, "(XA) Report interval :", kIntervalHint,
                Exchange::Unsigned, &kXA.typing, &kXA.leaving),
    numberField(1178, "XB", kStopwatch1, "(XB) Number of report", kCountHint, Exchange::Unsigned,
                &kXBTyping),
    mediaField(1131, "XC", kStopwatch1, "(XC) Report Media :"),
    actionField(1145, "XD", kStopwatch1, "(XD) Action :"),
    checkField(1214, "XE", kStopwatch1, "(XE) Enable Stopwatch"),

    numberField(1136, "YA", kStopwatch2, "(YA) Report interval :", kIntervalHint,
                Exchange::Unsigned, &kYA.typing, &kYA.leaving),
    numberField(1177, "YB", kStopwatch2, "(YB) Number of report", kCountHint, Exchange::Unsigned,
                &kYBTyping),
    mediaField(1132, "YC", kStopwatch2, "(YC) Report Media :"),
    actionField(1146, "YD", kStopwatch2, "(YD) Action :"),
    checkField(1215, "YE", kStopwatch2, "(YE) Enable Stopwatch"),

    numberField(2307, "ZA", kStopwatch3, "(ZA) Report interval :", kIntervalHint,
                Exchange::Unsigned, &kZA.typing, &kZA.leaving),
    numberField(1179, "ZB", kStopwatch3, "(ZB) Number of report", kCountHint, Exchange::Unsigned,
                &kZBTyping),
    mediaField(1133, "ZC", kStopwatch3, "(ZC) Report Media :"),
    actionField(1147, "ZD", kStopwatch3, "(ZD) Action :"),
    checkField(1216, "ZE", kStopwatch3, "(ZE) Enable Stopwatch"),
};

}  // namespace

CStopwatch::CStopwatch(const PageContext& context, QWidget* parent)
    : CPage(context, kStopwatchPage, parent) {
    build(PageSpec{kGroups, kFields, true});
}

}  // namespace qn470
