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

constexpr const char* kSecondsOrDisable = "(3 ~ 4Giga sec, 0=disable)";
constexpr const char* kSameAsRi = "(3 ~ 65535 sec, 0=time is the same as Ri)";

FieldBinding number(int id, std::string_view code, int group, const char* label, const char* hint,
                    const NumberRule* typing, const NumberRule* leaving) {
    return numberField(id, code, group, label, hint, Exchange::Unsigned, typing, leaving);
}

// Table order is the order of loading and of reading back.
const FieldBinding kFields[] = {
    number(1160, "Ra", kStatic, "(Ra) Report interval :", kSecondsOrDisable, &kRa.typing,
           &kRa.leaving),
    mediaField(1156, "Rb", kStatic, "(Rb) Report Media :"),
    actionField(1148, "Rc", kStatic, "(Rc) Action :"),
    checkField(1198, "Rd", kStatic, "(Rd) GPS always on"),
    checkField(1074, "Re", kStatic, "(Re) Turn off GSM"),
    checkField(1075, "Rf", kStatic, "(Rf) Keep GPRS on-line"),
    number(1159, "Ri", kMoving, "(Ri) Report interval :", kSecondsOrDisable, &kRi.typing,
           &kRi.leaving),
    mediaField(1161, "Rj", kMoving, "(Rj) Report Media :"),
    actionField(1145, "Rk", kMoving, "(Rk) Action :"),
    checkField(1197, "Rl", kMoving, "(Rl) GPS always on"),
    checkField(1076, "Rn", kMoving, "(Rn) Keep GPRS on-line"),
    number(1164, "Ro", kMoving, "(Ro) Maximum distance between report :",
           "(50 ~ 4Giga m, 0=disable)", &kRo.typing, &kRo.leaving),
    number(1102, "Rp", kMoving, "(Rp) Check distance to keep moving state :",
           "(50 ~ 65535 m, 0=disable)", &kRp.typing, &kRp.leaving),
    mediaField(1157, "Rs", kStateChange,
               "(Rs) Report Media for changing from static to moving :", nullptr),
    mediaField(1158, "Rt", kStateChange,
               "(Rt) Report Media for changing from moving to static :", nullptr),
    actionField(1162, "Ru", kStateChange,
                "(Ru) Action for changing from static to moving :", nullptr),
    actionField(1163, "Rv", kStateChange,
                "(Rv) Action for changing from moving to static :", nullptr),
    number(1051, "Rw", kStateChange, "(Rw) Minimum distance to be treated as moving :",
           "(30 ~ 65535 m, 0=disable)", &kRw.typing, &kRw.leaving),
    number(1049, "Rx", kStateChange,
           "(Rx) Time to switch from validation to static state if no motion syndrome detected :",
           kSameAsRi, &kRx.typing, &kRx.leaving),
    number(1052, "Ry", kStateChange,
           "(Ry) Time to switch from moving to static state if no motion syndrome detected :",
           kSameAsRi, &kRy.typing, &kRy.leaving),
    number(1056, "Rz", kStateChange, "(Rz) Motion sensor sensitivity :", "(0 ~  65535, 0=disable)",
           &kRzTyping, nullptr),
};

}  // namespace

CSensor::CSensor(const PageContext& context, QWidget* parent)
    : CPage(context, kMotionSensorPage, parent) {
    build(PageSpec{kGroups, kFields, true});
}

}  // namespace qn470
