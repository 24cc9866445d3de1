#include "pages/security_page.h"

#include "pages/choice_fields.h"

namespace qn470 {
namespace {

enum Group { kSos, kVoiceMonitor, kCallIn };

// The longest labels wrap so the groups fit the window's width.
constexpr GroupSpec kGroups[] = {
    {.title = "SOS", .column = 0, .labelChars = 32, .hintChars = 30},
    {.title = "Voice Monitor", .column = 1, .labelChars = 32},
    {.title = "Voice Monitor call in phone number for command N4 :",
     .column = 0,
     .parent = kVoiceMonitor},
};

// The page's own least values, asked for when the field is left; the tracker takes any.
const LeavingRules kH1 = checkedOnLeaving(pageRule("H1", 1));
const LeavingRules kH2 = checkedOnLeaving(pageRule("H2", 3));
const NumberRule kH3Typing = trackerRule("H3");
const LeavingRules kV5 = checkedOnLeaving(pageRule("V5", 10));

// Table order is the order of loading and of reading back.
const FieldBinding kFields[] = {
    textField(2301, "G0", kSos, "(G0) SMS Phone number1 :"),
    textField(2302, "G1", kSos, "(G1) SMS Phone number2 :"),
    textField(2303, "G2", kSos, "(G2) SMS Phone number3 :"),
    textField(2304, "G3", kSos, "(G3) SMS Phone number4 :"),
    textField(2305, "G4", kSos, "(G4) SMS Phone number5 :"),
    textField(2306, "G5", kSos, "(G5) SMS Phone number6 :"),
    mediaField(1097, "H0", kSos, "(H0) Report media :"),
    numberField(2308, "H1", kSos, "(H1) Max number of SMS report for each phone number :",
                "(1 ~ 65535)", Exchange::Unsigned, &kH1.typing, &kH1.leaving),
    numberField(2309, "H2", kSos, "(H2) Report interval :", "(3 ~ 65535 sec)", Exchange::Unsigned,
                &kH2.typing, &kH2.leaving),
    numberField(1191, "H3", kSos, "(H3) Number of GPRS report :",
                "(0 ~ 255, 0=continuous until dismissed)", Exchange::Byte, &kH3Typing),
    checkField(1023, "V0", kSos, "(V0) Call out SOS phone number 1 when SOS alarm"),
    textField(2311, "V4", kCallIn, "(V4) 1 :"),
    textField(2313, "V8", kCallIn, "(V8) 2 :"),
    textField(2314, "V9", kCallIn, "(V9) 3 :"),
    numberField(2312, "V5", kVoiceMonitor, "(V5) Voice Monitor call in time out  for command N4 :",
                "(10 ~ 65535 sec)", Exchange::Unsigned, &kV5.typing, &kV5.leaving),
    checkField(1115, "V6", kVoiceMonitor, "(V6) Call out phone number (V4) for command N4"),
};

}  // namespace

CSecurityPage::CSecurityPage(const PageContext& context, QWidget* parent)
    : CPage(context, kSecurityPage, parent) {
    build(PageSpec{kGroups, kFields, true});
}

void CSecurityPage::onOpen() {
    // Filled at once even before anything was loaded; later reloads follow the load flags.
    binder().load();
}

}  // namespace qn470
