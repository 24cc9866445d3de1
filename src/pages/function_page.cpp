// SPDX-License-Identifier: Apache-2.0
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

FieldBinding numbersOnly(FieldBinding f) {
    f.digitsOnly = true;
    return f;
}

// Table order is the order of loading and of reading back.
const FieldBinding kFields[] = {
    numbersOnly(mediaField(1098, "OD", kPing)),
    numberField(1067, "OS", kPing, Exchange::Unsigned, &kOSTyping),
    numberField(1137, "PA", kDistance, Exchange::Unsigned, &kPA.typing, &kPA.leaving),
    mediaField(1166, "PC", kDistance),
    actionField(1167, "PD", kDistance),
    checkField(1195, "PE", kDistance),
    numberField(1102, "SA", kSpeed, Exchange::Unsigned, &kSATyping),
    numberField(1105, "SB", kSpeed, Exchange::Unsigned, &kSBTyping),
    numberField(1107, "SC", kSpeed, Exchange::Unsigned, &kSCTyping),
    mediaField(1106, "SD", kSpeed),
    actionField(1152, "SE", kSpeed),
    actionField(1151, "SF", kSpeed),
    checkField(1196, "SI", kParking),
    choiceField(CReportPage1::kParkingField, "SJ", kParking, Conversion::HexWord,
                &CParking::create),
    mediaField(1109, "SK", kParking),
    actionField(1153, "SL", kParking),
    checkField(1069, "K0", kGeofence),
    checkField(1070, "K1", kGeofence),
    numberField(1046, "K2", kGeofence, Exchange::Unsigned, &kK2.typing, &kK2.leaving),
    mediaField(1103, "K3", kGeofence),
    // SMS cannot be changed for reading geofence data.
    mediaFieldWithoutSms(1104, "K4", kGeofence),
    actionField(1187, "K6", kGeofence),
    actionField(1188, "K7", kGeofence),
};

}  // namespace

CReportPage1::CReportPage1(const PageContext& context, QWidget* parent)
    : CPage(context, kFunctionPage, parent) {
    // A record value outside a field's rule is reported while the page is filled.
    build(PageSpec{kGroups, kFields, true, true});
}

}  // namespace qn470
