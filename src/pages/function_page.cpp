#include "pages/function_page.h"

#include <string>

#include "config/parameter_table.h"

#include "pages/choice_fields.h"
#include "pages/parking_dialog.h"

namespace qn470 {
namespace {

enum Group { kPing, kDistance, kSpeed, kGeofence, kParking };

constexpr GroupSpec kGroups[] = {
    {"Ping Mode", 0}, {"Distance accumulator", 0}, {"Speed Alarm", 1},
    {"Geofence", 1},  {"Parking Alarm", 0},
};

const NumberRule kOSTyping = trackerRule("OS");

// Distances in metres: the page's least value is asked for when the field is left (the
// tracker takes any); while typing only the top is checked.
const LeavingRules kPA = checkedOnLeaving(pageRule("PA", 50, true));  // 0: no trigger
const LeavingRules kK2 = checkedOnLeaving(pageRule("K2", 30));

// A speed in km/h; a rejected text gives way to the parameter's default.
const std::string kSADefault = std::to_string(parameter("SA").defaultNumber);
const std::string kSBDefault = std::to_string(parameter("SB").defaultNumber);
const std::string kSCDefault = std::to_string(parameter("SC").defaultNumber);
NumberRule speedRule(std::string_view code, std::string_view resetText) {
    NumberRule rule = trackerRule(code);
    rule.reset = ResetTo::FixedText;
    rule.resetText = resetText;
    return rule;
}
const NumberRule kSATyping = speedRule("SA", kSADefault);
const NumberRule kSBTyping = speedRule("SB", kSBDefault);
const NumberRule kSCTyping = speedRule("SC", kSCDefault);

constexpr const char* kSpeedHint = "(0 ~ 255 Km/H, 0=disable)";

FieldBinding numbersOnly(FieldBinding f) {
    f.digitsOnly = true;
    return f;
}

// Table order is the order of loading and of reading back.
const FieldBinding kFields[] = {
    numbersOnly(mediaField(1098, "OD", kPing, "(OD) Report media for ping :")),
    numberField(1067, "OS", kPing, "(OS) Max report time for ping :", "(1 ~ 65535 sec)",
                Exchange::Unsigned, &kOSTyping),
    numberField(1137, "PA", kDistance, "(PA) Trigger interval :", "(50 ~ 4Giga m, 0=no trigger)",
                Exchange::Unsigned, &kPA.typing, &kPA.leaving),
    mediaField(1166, "PC", kDistance, "(PC) Report Media :"),
    actionField(1167, "PD", kDistance, "(PD) Action :"),
    checkField(1195, "PE", kDistance, "(PE) Enable distance accumulator"),
    numberField(1102, "SA", kSpeed, "(SA) Upper limit of speed alarm :", kSpeedHint,
                Exchange::Unsigned, &kSATyping),
    numberField(1105, "SB", kSpeed, "(SB) Lower limit of speed alarm :", kSpeedHint,
                Exchange::Unsigned, &kSBTyping),
    numberField(1107, "SC", kSpeed, "(SC) Hysterisis for speed alarm :", kSpeedHint,
                Exchange::Unsigned, &kSCTyping),
    mediaField(1106, "SD", kSpeed, "(SD) Report Media for speed alarm :"),
    actionField(1152, "SE", kSpeed, "(SE) Action for high speed alarm :"),
    actionField(1151, "SF", kSpeed, "(SF) Action for low speed alarm :"),
    checkField(1196, "SI", kParking, "(SI) Enable parking alert"),
    choiceField(CReportPage1::kParkingField, "SJ", kParking,
                "(SJ) Trigger source of parking alarm :", nullptr, Conversion::HexWord,
                &CParking::create),
    mediaField(1109, "SK", kParking, "(SK) Report Media of parking alarm :"),
    actionField(1153, "SL", kParking, "(SL) Action of parking alarm :"),
    checkField(1069, "K0", kGeofence, "(K0) Geofence Enable"),
    checkField(1070, "K1", kGeofence, "(K1) Enable autonomous geofence"),
    numberField(1046, "K2", kGeofence, "(K2) Autonomous geofence radius :", "(30 ~ 4Giga m)",
                Exchange::Unsigned, &kK2.typing, &kK2.leaving),
    mediaField(1103, "K3", kGeofence, "(K3) Geofence alarm report Media :"),
    // SMS cannot be changed for reading geofence data.
    mediaFieldWithoutSms(1104, "K4", kGeofence, "(K4) Report media for reading geofence data :"),
    actionField(1187, "K6", kGeofence, "(K6) Action for geofence alarm :"),
    actionField(1188, "K7", kGeofence, "(K7) Action for autonomous geofence alarm :"),
};

}  // namespace

CReportPage1::CReportPage1(const PageContext& context, QWidget* parent)
    : CPage(context, kFunctionPage, parent) {
    // A record value outside a field's rule is reported while the page is filled.
    build(PageSpec{kGroups, kFields, true, true});
}

}  // namespace qn470
