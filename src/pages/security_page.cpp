// SPDX-License-Identifier: Apache-2.0
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
    textField(2301, "G0", kSos),
    textField(2302, "G1", kSos),
    textField(2303, "G2", kSos),
    textField(2304, "G3", kSos),
    textField(2305, "G4", kSos),
    textField(2306, "G5", kSos),
    mediaField(1097, "H0", kSos),
    numberField(2308, "H1", kSos, Exchange::Unsigned, &kH1.typing, &kH1.leaving),
    numberField(2309, "H2", kSos, Exchange::Unsigned, &kH2.typing, &kH2.leaving),
    numberField(1191, "H3", kSos, Exchange::Byte, &kH3Typing),
    checkField(1023, "V0", kSos),
    textField(2311, "V4", kCallIn),
    textField(2313, "V8", kCallIn),
    textField(2314, "V9", kCallIn),
    numberField(2312, "V5", kVoiceMonitor, Exchange::Unsigned, &kV5.typing, &kV5.leaving),
    checkField(1115, "V6", kVoiceMonitor),
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
