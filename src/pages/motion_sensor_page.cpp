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

constexpr int64_t kLongLimit = 4294967294;

// While typing only the field's upper limit applies (and ten digits for the 32-bit values);
// the message names the whole range.
constexpr NumberRule typingRule(std::string_view code, int64_t max, std::string_view message) {
    NumberRule rule = digitsRule(code, 0, max, ValueRead::Unsigned);
    if (max == kLongLimit) {
        rule.maxChars = 10;
    }
    rule.rangeMessage = message;
    return rule;
}
// On leaving: the range, or 0 to switch the function off.
constexpr NumberRule leavingRule(std::string_view code, int64_t min, int64_t max) {
    NumberRule rule = digitsRule(code, min, max, ValueRead::Unsigned);
    rule.zeroAccepted = true;
    return rule;
}

constexpr NumberRule kRaTyping =
    typingRule("Ra", kLongLimit, "(Ra)Please enter an integer between 3 and 4294967294");
constexpr NumberRule kRaLeaving = leavingRule("Ra", 3, kLongLimit);
constexpr NumberRule kRiTyping =
    typingRule("Ri", kLongLimit, "(Ri)Please enter an integer between 3 and 4294967294");
constexpr NumberRule kRiLeaving = leavingRule("Ri", 3, kLongLimit);
constexpr NumberRule kRoTyping =
    typingRule("Ro", kLongLimit, "(Ro)Please enter an integer between 50 and 4294967294");
constexpr NumberRule kRoLeaving = leavingRule("Ro", 50, kLongLimit);
constexpr NumberRule kRpTyping =
    typingRule("Rp", 65535, "(Rp)Please enter an integer between 50 and 65535");
constexpr NumberRule kRpLeaving = leavingRule("Rp", 50, 65535);
constexpr NumberRule kRwTyping =
    typingRule("Rw", 65535, "(Rw)Please enter an integer between 30 and 65535");
constexpr NumberRule kRwLeaving = leavingRule("Rw", 30, 65535);
constexpr NumberRule kRxTyping =
    typingRule("Rx", 65535, "(Rx)Please enter an integer between 3 and 65535");
constexpr NumberRule kRxLeaving = leavingRule("Rx", 3, 65535);
constexpr NumberRule kRyTyping =
    typingRule("Ry", 65535, "(Ry)Please enter an integer between 3 and 65535");
constexpr NumberRule kRyLeaving = leavingRule("Ry", 3, 65535);
constexpr NumberRule kRzTyping = digitsRule("Rz", 0, 65535, ValueRead::Unsigned);

constexpr const char* kSecondsOrDisable = "(3 ~ 4Giga sec, 0=disable)";
constexpr const char* kSameAsRi = "(3 ~ 65535 sec, 0=time is the same as Ri)";

FieldBinding number(int id, std::string_view code, int group, const char* label, const char* hint,
                    const NumberRule* typing, const NumberRule* leaving) {
    return numberField(id, code, group, label, hint, Exchange::Unsigned, typing, leaving);
}

// Table order is the order of loading and of reading back.
const FieldBinding kFields[] = {
    number(1160, "Ra", kStatic, "(Ra) Report interval :", kSecondsOrDisable, &kRaTyping,
           &kRaLeaving),
    mediaField(1156, "Rb", kStatic, "(Rb) Report Media :"),
    actionField(1148, "Rc", kStatic, "(Rc) Action :"),
    checkField(1198, "Rd", kStatic, "(Rd) GPS always on"),
    checkField(1074, "Re", kStatic, "(Re) Turn off GSM"),
    checkField(1075, "Rf", kStatic, "(Rf) Keep GPRS on-line"),
    number(1159, "Ri", kMoving, "(Ri) Report interval :", kSecondsOrDisable, &kRiTyping,
           &kRiLeaving),
    mediaField(1161, "Rj", kMoving, "(Rj) Report Media :"),
    actionField(1145, "Rk", kMoving, "(Rk) Action :"),
    checkField(1197, "Rl", kMoving, "(Rl) GPS always on"),
    checkField(1076, "Rn", kMoving, "(Rn) Keep GPRS on-line"),
    number(1164, "Ro", kMoving, "(Ro) Maximum distance between report :",
           "(50 ~ 4Giga m, 0=disable)", &kRoTyping, &kRoLeaving),
    number(1102, "Rp", kMoving, "(Rp) Check distance to keep moving state :",
           "(50 ~ 65535 m, 0=disable)", &kRpTyping, &kRpLeaving),
    mediaField(1157, "Rs", kStateChange,
               "(Rs) Report Media for changing from static to moving :", nullptr),
    mediaField(1158, "Rt", kStateChange,
               "(Rt) Report Media for changing from moving to static :", nullptr),
    actionField(1162, "Ru", kStateChange,
                "(Ru) Action for changing from static to moving :", nullptr),
    actionField(1163, "Rv", kStateChange,
                "(Rv) Action for changing from moving to static :", nullptr),
    number(1051, "Rw", kStateChange, "(Rw) Minimum distance to be treated as moving :",
           "(30 ~ 65535 m, 0=disable)", &kRwTyping, &kRwLeaving),
    number(1049, "Rx", kStateChange,
           "(Rx) Time to switch from validation to static state if no motion syndrome detected :",
           kSameAsRi, &kRxTyping, &kRxLeaving),
    number(1052, "Ry", kStateChange,
           "(Ry) Time to switch from moving to static state if no motion syndrome detected :",
           kSameAsRi, &kRyTyping, &kRyLeaving),
    number(1056, "Rz", kStateChange, "(Rz) Motion sensor sensitivity :", "(0 ~  65535, 0=disable)",
           &kRzTyping, nullptr),
};

}  // namespace

CSensor::CSensor(const PageContext& context, QWidget* parent)
    : CPage(context, kMotionSensorPage, parent) {
    build(PageSpec{kGroups, kFields, true});
}

}  // namespace qn470
