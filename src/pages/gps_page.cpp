// SPDX-License-Identifier: Apache-2.0
#include "pages/gps_page.h"

#include <QCheckBox>
#include <QLineEdit>
#include <algorithm>

#include "config/parameter_value.h"
#include "pages/choice_fields.h"

namespace qn470 {
namespace {

enum Group { kGps, kAntenna };

constexpr GroupSpec kGroups[] = {{"GPS", 0}, {"when GPS antenna disconnected", 0}};

const LeavingRules kC1Rules = checkedOnLeaving(trackerRule("C1"));
const LeavingRules kC2Rules = checkedOnLeaving(trackerRule("C2"));
const NumberRule kC3Typing = trackerRule("C3");

FieldBinding signedHidden(int id, std::string_view code) {
    FieldBinding f = numberField(id, code, kHidden, Exchange::Signed);
    f.digitsOnly = false;
    return f;
}

// Table order is the order of loading and of reading back.
const FieldBinding kFields[] = {
    numberField(CGPSPage::kC1, "C1", kGps, Exchange::Unsigned, &kC1Rules.typing, &kC1Rules.leaving),
    numberField(CGPSPage::kC2, "C2", kGps, Exchange::Unsigned, &kC2Rules.typing, &kC2Rules.leaving),
    numberField(CGPSPage::kC3, "C3", kGps, Exchange::Unsigned, &kC3Typing),
    checkField(CGPSPage::kC5, "C5", kGps),
    hiddenField(checkField(CGPSPage::kC7, "C7", kHidden)),
    signedHidden(CGPSPage::kC8, "C8"),
    signedHidden(CGPSPage::kC9, "C9"),
    numberField(CGPSPage::kCA, "CA", kHidden, Exchange::Unsigned),
    hiddenField(checkField(CGPSPage::kCB, "CB", kHidden)),
    mediaField(CGPSPage::kCC, "CC", kAntenna),
    actionField(CGPSPage::kCD, "CD", kAntenna),
};

}  // namespace

CGPSPage::CGPSPage(const PageContext& context, QWidget* parent) : CPage(context, kGpsPage, parent) {
    build(PageSpec{kGroups, kFields, true});
    connect(binder().checkBox(kC7), &QCheckBox::toggled, this, &CGPSPage::applyOffTimeEnabling);
}

void CGPSPage::onOpen() {
    // The GPS-on times are shown and checked whatever the record came from.
    if (!showChecked(kC1, "C1")) {
        stopOpening({kC1});
        return;
    }
    if (!showChecked(kC2, "C2")) {
        stopOpening({kC1, kC2});
        return;
    }
    binder().loadFields({kC3, kC5, kC7, kC8, kC9, kCA});
    applyOffTimeEnabling();
    LoadValues();
}

bool CGPSPage::showChecked(int id, const char* code) {
    {
        // The value is checked here, once, with the opening's own message.
        const QSignalBlocker quiet(binder().edit(id));
        binder().loadFields({id});
    }
    const NumberRule& rule = id == kC1 ? kC1Rules.leaving : kC2Rules.leaving;
    if (rule.accepts(readNumber(parameters(), code), 0)) {
        return true;
    }
    prompter().message(QString::fromStdString(checkMessage(rule, CheckResult::OutOfRange)),
                       tr("error"), Prompter::Buttons::OkCancel, Prompter::Icon::Information);
    return false;
}

void CGPSPage::stopOpening(std::vector<int> shown) {
    m_partial = std::move(shown);
    // What was not checked stays empty rather than showing a number the record does not hold.
    for (int id : {kC2, kC3, kC8, kC9, kCA}) {
        if (std::find(m_partial.begin(), m_partial.end(), id) == m_partial.end()) {
            binder().edit(id)->clear();
        }
    }
}

void CGPSPage::afterLoad() {
    m_partial.clear();
    applyOffTimeEnabling();
}

StoreResult CGPSPage::StoreValues() {
    // After an opening that stopped early the other controls are empty: storing them would wipe
    // the record's values, so only what was shown goes back.
    if (!m_partial.empty()) {
        return binder().storeFields(m_partial);
    }
    return CPage::StoreValues();
}

void CGPSPage::applyOffTimeEnabling() {
    // A variable off time uses the low-speed time and the high-speed dividend instead of the
    // fixed maximum.
    const bool variable = binder().checkBox(kC7)->isChecked();
    binder().edit(kC8)->setEnabled(!variable);
    binder().edit(kC9)->setEnabled(variable);
    binder().edit(kCA)->setEnabled(variable);
}

}  // namespace qn470
