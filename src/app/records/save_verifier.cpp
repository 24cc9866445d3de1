// SPDX-License-Identifier: Apache-2.0
#include "app/records/save_verifier.h"

#include <QSettings>

#include "session/prompter.h"

namespace qn470 {

SaveVerifier::SaveVerifier(DeviceSession& session, QSettings& settings, LabelLookup labels,
                           QObject* parent)
    : QObject(parent), m_session(session), m_settings(settings), m_labels(std::move(labels)) {
    m_enabled = m_settings.value(QLatin1String(kSettingKey), true).toBool();
}

void SaveVerifier::setEnabled(bool enabled) {
    m_enabled = enabled;
    m_settings.setValue(QLatin1String(kSettingKey), enabled);
}

void SaveVerifier::judge(SaveOutcome& outcome, bool readBackOk) {
    if (!readBackOk) {
        outcome.check = SaveOutcome::Check::Unreadable;
        outcome.failure = m_session.isBusy() || m_session.failureReason().isEmpty()
                              ? QStringLiteral("busy")
                              : m_session.failureReason();
        m_session.showStatus(
            tr("FAIL ! Verify: the tracker could not be read back (%1).\r\n").arg(outcome.failure));
        return;
    }
    outcome.held = m_session.readBackSet();
    outcome.differences =
        differingCodes(outcome.sent, outcome.held, CodeSelection::SentAndReported);
    outcome.notWritable = unwritableDifferences(outcome.sent, outcome.held);
    QString note;
    if (!outcome.notWritable.empty()) {
        QStringList codes;
        for (const std::string& code : outcome.notWritable) {
            codes.append(QString::fromStdString(code));
        }
        note = tr(" Not writable: %1.").arg(codes.join(QLatin1Char(' ')));
    }
    if (outcome.differences.empty()) {
        outcome.check = SaveOutcome::Check::Holds;
        m_session.showStatus(tr("Verify: the tracker holds every value sent.%1\r\n").arg(note));
    } else {
        outcome.check = SaveOutcome::Check::Differs;
        m_session.showStatus(tr("FAIL ! Verify: %1 values differ on the tracker.%2\r\n")
                                 .arg(outcome.differences.size())
                                 .arg(note));
        m_session.prompter().message(describe(outcome.differences), tr("Verify"),
                                     Prompter::Buttons::Ok, Prompter::Icon::Warning);
    }
}

QString SaveVerifier::describe(const std::vector<CodeDifference>& differences) const {
    QString text = tr("The tracker holds other values than were sent:\n\n");
    int listed = 0;
    for (const CodeDifference& difference : differences) {
        if (listed++ == kMaxListedDifferences) {
            text += tr("... and %1 more.\n").arg(differences.size() - kMaxListedDifferences);
            break;
        }
        const QString code = QString::fromStdString(difference.code);
        const QString label = m_labels ? m_labels(code) : QString();
        // Page labels mostly name their code already, as "(J9) Threshold ...".
        const QString name = label.isEmpty() || label == code ? code
                             : label.contains(QLatin1Char('(') + code + QLatin1Char(')'))
                                 ? label
                                 : code + QStringLiteral("  ") + label;
        text += tr("%1: sent \"%2\", held \"%3\"\n")
                    .arg(name, QString::fromStdString(difference.expected),
                         QString::fromStdString(difference.actual));
    }
    return text;
}

}  // namespace qn470
