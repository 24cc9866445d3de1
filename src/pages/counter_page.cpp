// SPDX-License-Identifier: Apache-2.0
#include "pages/counter_page.h"

#include "pages/choice_fields.h"

namespace qn470 {
namespace {

enum Group { kCounter0, kCounter1, kCounter2, kCounter3 };

constexpr GroupSpec kGroups[] = {
    {"Counter 0", 0},
    {"Counter 1", 0},
    {"Counter 2", 1},
    {"Counter 3", 1},
};

// A refused trigger level turns into 0 (no trigger) rather than going back to its old text.
NumberRule triggerRule(std::string_view code) {
    NumberRule rule = trackerRule(code);
    rule.reset = ResetTo::FixedText;
    rule.resetText = "0";
    return rule;
}

const NumberRule kPaTyping = triggerRule("Pa");
const NumberRule kPgTyping = triggerRule("Pg");
const NumberRule kPmTyping = triggerRule("Pm");
const NumberRule kPsTyping = triggerRule("Ps");

// Table order is the order of loading and of reading back: counter by counter.
const FieldBinding kFields[] = {
    numberField(1180, "Pa", kCounter0, Exchange::Unsigned, &kPaTyping),
    checkField(1210, "Pb", kCounter0),
    mediaField(1172, "Pc", kCounter0),
    actionField(1168, "Pd", kCounter0),

    numberField(1181, "Pg", kCounter1, Exchange::Unsigned, &kPgTyping),
    checkField(1211, "Ph", kCounter1),
    mediaField(1175, "Pi", kCounter1),
    actionField(1170, "Pj", kCounter1),

    numberField(1182, "Pm", kCounter2, Exchange::Unsigned, &kPmTyping),
    checkField(1212, "Pn", kCounter2),
    mediaField(1173, "Po", kCounter2),
    actionField(1169, "Pp", kCounter2),

    numberField(1183, "Ps", kCounter3, Exchange::Unsigned, &kPsTyping),
    checkField(1027, "Pt", kCounter3),
    mediaField(1174, "Pu", kCounter3),
    actionField(1171, "Pv", kCounter3),
};

}  // namespace

CCounter::CCounter(const PageContext& context, QWidget* parent)
    : CPage(context, kCounterPage, parent) {
    build(PageSpec{kGroups, kFields, true});
}

}  // namespace qn470
