#include "pages/function_page.h"

#include "pages/choice_fields.h"
#include "pages/parking_dialog.h"

namespace qn470 {
namespace {

enum Group { kPing, kDistance, kSpeed, kGeofence, kParking };

constexpr GroupSpec kGroups[] = {
    {"Ping Mode", 0}, {"Distance accumulator", 0}, {"Speed Alarm", 1},
    {"Geofence", 1},  {"Parking Alarm", 0},
};

constexpr NumberRule kOSTyping = digitsRule("OS", 1, 65535);

// A distance in metres up to 4294967294: while typing only the top is checked (the least
// value can still be reached by typing on); leaving checks the least value too.
constexpr NumberRule distanceTyping(std::string_view code, std::string_view rangeMessage) {
    NumberRule rule = digitsRule(code, 0, 4294967294, ValueRead::Unsigned);
    rule.maxChars = 10;
    rule.rangeMessage = rangeMessage;
    return rule;
}
constexpr NumberRule distanceLeaving(std::string_view code, int64_t min, bool zeroAccepted) {
    NumberRule rule = digitsRule(code, min, 4294967294, ValueRead::Unsigned);
    rule.maxChars = 10;
    rule.zeroAccepted = zeroAccepted;
    return rule;
}
constexpr NumberRule kPATyping =
    distanceTyping("PA", "(PA)Please enter an integer between 50 and 4294967294");
constexpr NumberRule kPALeaving = distanceLeaving("PA", 50, true);  // 0: no trigger
constexpr NumberRule kK2Typing =
    distanceTyping("K2", "(K2)Please enter an integer between 30 and 4294967294");
constexpr NumberRule kK2Leaving = distanceLeaving("K2", 30, false);

// A speed in km/h; a rejected text gives way to a fixed safe value.
constexpr NumberRule speedRule(std::string_view code, std::string_view resetText) {
    NumberRule rule = digitsRule(code, 0, 255);
    rule.reset = ResetTo::FixedText;
    rule.resetText = resetText;
    return rule;
}
constexpr NumberRule kSATyping = speedRule("SA", "0");
constexpr NumberRule kSBTyping = speedRule("SB", "0");
constexpr NumberRule kSCTyping = speedRule("SC", "5");

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
                Exchange::Unsigned, &kPATyping, &kPALeaving),
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
                Exchange::Unsigned, &kK2Typing, &kK2Leaving),
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
