#include "pages/input_output_page.h"

#include "pages/choice_fields.h"
#include "pages/dout_dialog.h"

namespace qn470 {
namespace {

enum Group { kDigitalIo, kAcc, kDin1, kDin2, kDin3, kAnalog };

// The four inputs sit two by two inside the digital group, above the output status.
// clang-format off
constexpr GroupSpec kGroups[] = {
    {"Digital Input/output", 0},
    {"ACC", 0, kDigitalIo, 1, true},
    {"Din 1", 1, kDigitalIo, 1, true},
    {"Din 2", 0, kDigitalIo, 1, true},
    {"Din 3", 1, kDigitalIo, 1, true},
    {"Analog Input", 0, kNoParent, 2},
};
// clang-format on

const NumberRule kQATyping = trackerRule("QA");
const NumberRule kQBTyping = trackerRule("QB");
const NumberRule kQETyping = trackerRule("QE");

constexpr const char* kThresholdHint = "(0 ~ 65535 mV, 0=no trigger)";

// Table order is the order of loading and of reading back. The labels keep their two blanks
// before "is activated".
const FieldBinding kFields[] = {
    mediaField(1139, "Qa", kAcc, "(Qa) Report media when ACC input  is activated :"),
    mediaField(1140, "Qb", kAcc, "(Qb) Report media when ACC input goes inactive :"),
    actionField(1149, "Qc", kAcc, "(Qc) Action when ACC input  is activated :"),
    actionField(1150, "Qd", kAcc, "(Qd) Action when ACC input goes inactive :"),

    mediaField(1141, "Qg", kDin1, "(Qg) Report media when digital input  is activated :"),
    mediaField(1142, "Qh", kDin1, "(Qh) Report media when digital input goes inactive :"),
    actionField(1151, "Qi", kDin1, "(Qi) Action when digital input  is activated :"),
    actionField(1152, "Qj", kDin1, "(Qj) Action when digital input goes inactive :"),

    mediaField(1143, "Qm", kDin2, "(Qm) Report media when digital input  is activated :"),
    mediaField(1144, "Qn", kDin2, "(Qn) Report media when digital input goes inactive :"),
    actionField(1153, "Qo", kDin2, "(Qo) Action when digital input  is activated :"),
    actionField(1154, "Qp", kDin2, "(Qp) Action when digital input goes inactive :"),

    mediaField(1145, "Qs", kDin3, "(Qs) Report media when digital input  is activated :"),
    mediaField(1146, "Qt", kDin3, "(Qt) Report media when digital input goes inactive :"),
    actionField(1155, "Qu", kDin3, "(Qu) Action when digital input  is activated :"),
    actionField(1156, "Qv", kDin3, "(Qv) Action when digital input goes inactive :"),

    choiceField(1157, "Qz", kDigitalIo, "(Qz) Digital output status :", nullptr,
                Conversion::HexByte, &CDout::create),

    numberField(1192, "QA", kAnalog, "(QA) Upper threshold :", kThresholdHint, Exchange::Unsigned,
                &kQATyping),
    numberField(1193, "QB", kAnalog, "(QB) Lower threshold :", kThresholdHint, Exchange::Unsigned,
                &kQBTyping),
    mediaField(1138, "QC", kAnalog, "(QC) Report Media :"),
    actionField(1148, "QD", kAnalog, "(QD) Action :"),
    numberField(1194, "QE", kAnalog, "(QE) Check interval :", "(0 ~ 65535 sec, 0=disable)",
                Exchange::Unsigned, &kQETyping),
};

}  // namespace

CDigital::CDigital(const PageContext& context, QWidget* parent)
    : CPage(context, kInputOutputPage, parent) {
    build(PageSpec{kGroups, kFields, true});
}

}  // namespace qn470
