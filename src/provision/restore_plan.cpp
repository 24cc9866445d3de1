// SPDX-License-Identifier: Apache-2.0
#include "provision/restore_plan.h"

#include "config/default_profile.h"
#include "config/parameter_table.h"
#include "config/profile.h"
#include "config/wire_value.h"
#include "journal/journal_text.h"
#include "session/code_comparison.h"

namespace qn470 {
namespace {

QString orDash(const QString& text) {
    return text.isEmpty() ? QStringLiteral("-") : escapeControls(text);
}

QString heldText(const ParameterSet& held, const char* code) {
    return trackerText(formatWireValue(held, parameter(code), Wire::Text));
}

RestorePlan refuse(RestorePlan plan, RestoreDecision decision, const QString& why) {
    plan.decision = decision;
    plan.refusal = why;
    return plan;
}

}  // namespace

RestorePlan restoreEntry(Journal& journal, qint64 id) {
    RestorePlan plan;
    if (id <= 0) {
        return plan;
    }
    QString error;
    plan.entry = journal.entry(id, &error);
    if (!plan.entry) {
        return refuse(std::move(plan), RestoreDecision::WrongInput,
                      error.isEmpty() ? QStringLiteral("no journal entry %1").arg(id)
                                      : escapeControls(error));
    }
    if (plan.entry->before.isEmpty()) {
        return refuse(std::move(plan), RestoreDecision::WrongInput,
                      QStringLiteral("journal entry %1 holds no before state").arg(id));
    }
    return plan;
}

RestorePlan planRestore(Journal& journal, RestorePlan plan, const ParameterSet& held,
                        const QString& port, const QString& station) {
    if (plan.refused()) {
        return plan;
    }
    const QString imei = heldText(held, "B2");
    const QString shownPort = escapeControls(port);
    if (plan.entry && plan.entry->imei != imei) {
        return refuse(std::move(plan), RestoreDecision::WrongInput,
                      QStringLiteral("journal entry %1 is of IMEI %2, the tracker on %3 is IMEI %4")
                          .arg(plan.entry->id)
                          .arg(orDash(plan.entry->imei), shownPort, orDash(imei)));
    }
    if (!plan.entry && imei.isEmpty()) {
        // Every tracker without one would match, and another tracker's settings be written.
        plan.imeiMissing = true;
        return refuse(std::move(plan), RestoreDecision::NothingToRestore,
                      QStringLiteral("the tracker on %1 reports no IMEI, so no journal entry can "
                                     "be told to be its own")
                          .arg(shownPort));
    }
    if (!plan.entry) {
        QString error;
        plan.entry = journal.latestFor(imei, &error);
        if (!plan.entry) {
            return refuse(
                std::move(plan),
                error.isEmpty() ? RestoreDecision::NothingToRestore : RestoreDecision::WrongInput,
                QStringLiteral("no save or provisioning of IMEI %1 with a before state "
                               "in the journal%2")
                    .arg(escapeControls(imei),
                         error.isEmpty() ? QString() : ": " + escapeControls(error)));
        }
    }
    const JournalEntry& entry = *plan.entry;
    loadDefaultProfile(plan.target);
    plan.stored.assign(entry.before.constData(), static_cast<std::size_t>(entry.before.size()));
    if (!readProfileBytes(plan.stored, plan.target).ok) {
        return refuse(std::move(plan), RestoreDecision::WrongInput,
                      QStringLiteral("journal entry %1: the before state is not a readable profile")
                          .arg(entry.id));
    }
    plan.entryName = QStringLiteral("journal entry %1 (%2)")
                         .arg(entry.id)
                         .arg(escapeControls(entry.time.toString(Qt::ISODate)));
    plan.profileName = QStringLiteral("journal entry %1").arg(entry.id);
    if (differingCodes(plan.target, held, CodeSelection::SentAndReported).empty()) {
        plan.decision = RestoreDecision::AlreadyHolds;
        return plan;
    }
    // The Device ID the tracker had when the entry was made, against the one it reports now: an
    // ordinary restore after a provisioning says nothing extra.
    const QString deviceIdNow = heldText(held, "O5");
    if (entry.deviceId != deviceIdNow) {
        plan.notes.append(
            QStringLiteral("%1 was made with Device ID %2; the tracker on %3 reports %4")
                .arg(plan.entryName, orDash(entry.deviceId), shownPort, orDash(deviceIdNow)));
    }
    if (entry.station != station) {
        plan.notes.append(QStringLiteral("%1 was written on station %2")
                              .arg(plan.entryName, orDash(entry.station)));
    }
    plan.decision = RestoreDecision::Write;
    return plan;
}

}  // namespace qn470
