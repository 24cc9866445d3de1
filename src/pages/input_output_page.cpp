// SPDX-License-Identifier: Apache-2.0
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

// Table order is the order of loading and of reading back.
const FieldBinding kFields[] = {
    mediaField(1139, "Qa", kAcc),
    mediaField(1140, "Qb", kAcc),
    actionField(1149, "Qc", kAcc),
    actionField(1150, "Qd", kAcc),

    mediaField(1141, "Qg", kDin1),
    mediaField(1142, "Qh", kDin1),
    actionField(1151, "Qi", kDin1),
    actionField(1152, "Qj", kDin1),

    mediaField(1143, "Qm", kDin2),
    mediaField(1144, "Qn", kDin2),
    actionField(1153, "Qo", kDin2),
    actionField(1154, "Qp", kDin2),

    mediaField(1145, "Qs", kDin3),
    mediaField(1146, "Qt", kDin3),
    actionField(1155, "Qu", kDin3),
    actionField(1156, "Qv", kDin3),

    choiceField(1157, "Qz", kDigitalIo, Conversion::HexByte, &CDout::create),

    numberField(1192, "QA", kAnalog, Exchange::Unsigned, &kQATyping),
    numberField(1193, "QB", kAnalog, Exchange::Unsigned, &kQBTyping),
    mediaField(1138, "QC", kAnalog),
    actionField(1148, "QD", kAnalog),
    numberField(1194, "QE", kAnalog, Exchange::Unsigned, &kQETyping),
};

}  // namespace

CDigital::CDigital(const PageContext& context, QWidget* parent)
    : CPage(context, kInputOutputPage, parent) {
    build(PageSpec{kGroups, kFields, true});
}

}  // namespace qn470
