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
    FieldBinding f = numberField(id, code, kHidden, nullptr, nullptr, Exchange::Signed);
    f.digitsOnly = false;
    return f;
}
FieldBinding withHint(FieldBinding f, const char* hint) {
    f.hint = hint;
    return f;
}
FieldBinding notBound(FieldBinding f) {
    f.conversion = Conversion::None;
    return f;
}

// Table order is the order of loading and of reading back.
const FieldBinding kFields[] = {
    textField(1059, "O5", kDevice, "(O5) Device ID :"),
    shownOnly(textField(1061, "O7", kDevice, "(O7) Firmware Version :")),
    numberField(1060, "O6", kDevice, "(O6) Time Zone Offset :", "(-43200 ~ 46800 sec)",
                Exchange::Signed, &kO6Typing, nullptr, false),
    textField(2005, "B0", kSim, "(B0) PIN code :"),
    textField(2002, "B1", kSim, "(B1) Phone number of SIM card :"),
    readOnly(textField(2003, "B2", kSim, "(B2) IMEI number :")),
    readOnly(textField(2004, "B3", kSim, "(B3) IMSI number :")),
    signedHidden(1021, "J2"),
    signedHidden(1022, "J3"),
    signedHidden(1025, "J4"),
    signedHidden(1026, "J5"),
    mediaField(1094, "J6", kBattery, "(J6) Battery alarm report Media :"),
    numberField(1196, "J9", kBattery, "(J9) Threshold of main battery low alarm :",
                "(10000 ~ 12000 mV)", Exchange::Unsigned, &kJ9Typing, &kJ9Leaving),
    actionField(1189, "JA", kBattery, "(JA) Action for main battery disconnection alarm :"),
    actionField(1190, "JB", kBattery, "(JB) Action for main battery low alarm :"),
    numberField(1057, "O2", kDatalogger, "(O2) Datalogger interval :", "(0 ~ 65535 sec, 0=disable)",
                Exchange::Unsigned, &kO2Typing),
    textField(1004, "O3", kOther, "(O3) Report format 0 :"),
    checkField(1023, "O8", kOther, "(O8) Report \"cell ID\" if GPS mode is not fixed."),
    listField(1064, "OB", kDebug, "(OB) Debug message output media :", kDebugMedia),
    listField(1065, "OC", kDebug, "(OC) Debug message level :", kDebugLevel),
    checkField(1024, "OG", kOther, "(OG) Enable data buffer function."),
    numberField(1062, "OH", kDatalogger, "(OH) Datalogger distance :", "(0 ~ 4Giga m, 0=disable)",
                Exchange::Unsigned, &kOHTyping),
    textField(1005, "ON", kOther, "(ON) Report format 1 :"),
    mediaFieldWithoutSms(1095, "OO", kOther, "(OO) Report media for reading configuration :"),
    notBound(hiddenField(listField(kHardwareList, {}, kHidden, nullptr, kHardwareOption))),
    notBound(hiddenField(checkField(kGsmPowerControl, {}, kHidden, "Gsm Power control"))),
    notBound(hiddenField(checkField(kWaas, {}, kHidden, "WAAS"))),
    withHint(textField(2006, "Oa", kOther, "(Oa) Password for simple command :"),
             "(Null=disable password)"),
};

}  // namespace

CMainPage::CMainPage(const PageContext& context, QWidget* parent)
    : CPage(context, kMainPage, parent) {
    build(PageSpec{kGroups, kFields, false});
    m_submit = new QPushButton(QStringLiteral("Submit"), this);
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
