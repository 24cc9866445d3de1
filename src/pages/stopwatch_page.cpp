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

// The interval is checked as it is typed (at most 4294967294) and again when it is left, when
// 1 and 2 are refused too: 0 switches the stopwatch off, 3 is the shortest interval.
constexpr NumberRule intervalTyping(std::string_view code) {
    NumberRule rule = digitsRule(code, 0, 4294967294, ValueRead::Unsigned);
    rule.maxChars = 10;
    return rule;
}
constexpr NumberRule intervalLeaving(std::string_view code, std::string_view rangeMessage) {
    NumberRule rule = intervalTyping(code);
    rule.min = 3;
    rule.zeroAccepted = true;
    rule.rangeMessage = rangeMessage;
    return rule;
}

constexpr NumberRule kWATyping = intervalTyping("WA");
constexpr NumberRule kXATyping = intervalTyping("XA");
constexpr NumberRule kYATyping = intervalTyping("YA");
constexpr NumberRule kZATyping = intervalTyping("ZA");
constexpr NumberRule kWALeaving =
    intervalLeaving("WA", "(WA)Please enter an integer between 0 and 4294967294");
constexpr NumberRule kXALeaving =
    intervalLeaving("XA", "(XA)Please enter an integer between 0 and 4294967294");
constexpr NumberRule kYALeaving =
    intervalLeaving("YA", "(YA)Please enter an integer between 0 and 4294967294");
constexpr NumberRule kZALeaving =
    intervalLeaving("ZA", "(ZA)Please enter an integer between 0 and 4294967294");

constexpr NumberRule kWBTyping = digitsRule("WB", 0, 255);
constexpr NumberRule kXBTyping = digitsRule("XB", 0, 255);
constexpr NumberRule kYBTyping = digitsRule("YB", 0, 255);
constexpr NumberRule kZBTyping = digitsRule("ZB", 0, 255);

constexpr const char* kIntervalHint = "(3 ~ 4Giga sec)";
constexpr const char* kCountHint = "(0 ~ 255, 0=continuously)";

// Table order is the order of loading and of reading back: stopwatch by stopwatch.
const FieldBinding kFields[] = {
    numberField(1134, "WA", kStopwatch0, "(WA) Report interval :", kIntervalHint,
                Exchange::Unsigned, &kWATyping, &kWALeaving),
    numberField(1176, "WB", kStopwatch0, "(WB) Number of report", kCountHint, Exchange::Unsigned,
                &kWBTyping),
    mediaField(1130, "WC", kStopwatch0, "(WC) Report Media :"),
    actionField(1144, "WD", kStopwatch0, "(WD) Action :"),
    checkField(1213, "WE", kStopwatch0, "(WE) Enable Stopwatch"),

    numberField(1135, "XA", kStopwatch1, "(XA) Report interval :", kIntervalHint,
                Exchange::Unsigned, &kXATyping, &kXALeaving),
    numberField(1178, "XB", kStopwatch1, "(XB) Number of report", kCountHint, Exchange::Unsigned,
                &kXBTyping),
    mediaField(1131, "XC", kStopwatch1, "(XC) Report Media :"),
    actionField(1145, "XD", kStopwatch1, "(XD) Action :"),
    checkField(1214, "XE", kStopwatch1, "(XE) Enable Stopwatch"),

    numberField(1136, "YA", kStopwatch2, "(YA) Report interval :", kIntervalHint,
                Exchange::Unsigned, &kYATyping, &kYALeaving),
    numberField(1177, "YB", kStopwatch2, "(YB) Number of report", kCountHint, Exchange::Unsigned,
                &kYBTyping),
    mediaField(1132, "YC", kStopwatch2, "(YC) Report Media :"),
    actionField(1146, "YD", kStopwatch2, "(YD) Action :"),
    checkField(1215, "YE", kStopwatch2, "(YE) Enable Stopwatch"),

    numberField(2307, "ZA", kStopwatch3, "(ZA) Report interval :", kIntervalHint,
                Exchange::Unsigned, &kZATyping, &kZALeaving),
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
