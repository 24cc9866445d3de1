// SPDX-License-Identifier: Apache-2.0
#include "pages/main_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "pages/choice_fields.h"

namespace qn470 {
namespace {

enum Group { kDevice, kDatalogger, kBattery, kSim, kDebug, kOther };

constexpr GroupSpec kGroups[] = {
    {"Device", 0}, {"Datalogger", 0}, {"Battery", 1},
    {"SIM", 0},    {"Debug", 1},      {"Other setting", 1},
};

const NumberRule kO6Typing = trackerRule("O6");
const NumberRule kO2Typing = trackerRule("O2");
const NumberRule kOHTyping = trackerRule("OH");
// The page asks for a threshold between 10 and 12 V when the field is left; while it is typed
// or filled, anything the tracker holds passes, so a loaded value never stops a store.
const NumberRule kJ9Typing = trackerRule("J9");
const NumberRule kJ9Leaving = pageRule("J9", 10000, false, 12000);

constexpr ListItem kDebugMedia[] = {{"Debug Port", 1}, {"SFlash", 2}};
constexpr ListItem kDebugLevel[] = {{"All", 1}, {"NMEA only", 4}};
constexpr ListItem kHardwareOption[] = {{"Mechanical", 0}, {"Electronic", 1}};

enum HiddenId { kHardwareList = 1208, kGsmPowerControl = 1209, kWaas = 1210 };

FieldBinding readOnly(FieldBinding f) {
    f.readOnly = true;
    return f;
}
FieldBinding shownOnly(FieldBinding f) {
    f.readOnly = true;
    f.loadOnly = true;
    return f;
}
FieldBinding signedHidden(int id, std::string_view code) {
    FieldBinding f = numberField(id, code, kHidden, Exchange::Signed);
    f.digitsOnly = false;
    return f;
}
FieldBinding notBound(FieldBinding f) {
    f.conversion = Conversion::None;
    return f;
}

// Table order is the order of loading and of reading back.
const FieldBinding kFields[] = {
    textField(1059, "O5", kDevice),
    shownOnly(textField(1061, "O7", kDevice)),
    numberField(1060, "O6", kDevice, Exchange::Signed, &kO6Typing, nullptr, false),
    textField(2005, "B0", kSim),
    textField(2002, "B1", kSim),
    readOnly(textField(2003, "B2", kSim)),
    readOnly(textField(2004, "B3", kSim)),
    signedHidden(1021, "J2"),
    signedHidden(1022, "J3"),
    signedHidden(1025, "J4"),
    signedHidden(1026, "J5"),
    mediaField(1094, "J6", kBattery),
    numberField(1196, "J9", kBattery, Exchange::Unsigned, &kJ9Typing, &kJ9Leaving),
    actionField(1189, "JA", kBattery),
    actionField(1190, "JB", kBattery),
    numberField(1057, "O2", kDatalogger, Exchange::Unsigned, &kO2Typing),
    textField(1004, "O3", kOther),
    checkField(1023, "O8", kOther),
    listField(1064, "OB", kDebug, kDebugMedia),
    listField(1065, "OC", kDebug, kDebugLevel),
    checkField(1024, "OG", kOther),
    numberField(1062, "OH", kDatalogger, Exchange::Unsigned, &kOHTyping),
    textField(1005, "ON", kOther),
    mediaFieldWithoutSms(1095, "OO", kOther),
    notBound(hiddenField(listField(kHardwareList, {}, kHidden, kHardwareOption))),
    notBound(hiddenField(labelled(checkField(kGsmPowerControl, {}, kHidden), "Gsm Power control"))),
    notBound(hiddenField(labelled(checkField(kWaas, {}, kHidden), "WAAS"))),
    textField(2006, "Oa", kOther),
};

}  // namespace

CMainPage::CMainPage(const PageContext& context, QWidget* parent)
    : CPage(context, kMainPage, parent) {
    build(PageSpec{kGroups, kFields, false});
    m_submit = new QPushButton(tr("Submit"), this);
    m_submit->setObjectName(QString::number(kSubmit));
    // Clicking does not take the focus on press, so a field being left is checked before the
    // values are stored rather than in the middle of the click.
    m_submit->setFocusPolicy(Qt::TabFocus);
    connect(m_submit, &QPushButton::clicked, this, &CMainPage::submit);
    binder().addToColumn(0, m_submit, Qt::AlignRight);
}

void CMainPage::submit() {
    m_submit->setFocus(Qt::OtherFocusReason);
    StoreValues();
}

void CMainPage::afterLoad() {
    // The hardware option is shown (hidden) but never written back.
    const int32_t option = parameters().hardwareOption.value;
    binder().list(kHardwareList)->setCurrentIndex((option & 1) != 0 ? 1 : 0);
    binder().checkBox(kGsmPowerControl)->setChecked((option & 2) != 0);
    binder().checkBox(kWaas)->setChecked((option & 4) != 0);
}

}  // namespace qn470
