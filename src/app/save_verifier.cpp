#include "app/save_verifier.h"

#include <QSettings>
#include <QTimer>

#include "session/prompter.h"

namespace qn470 {

SaveVerifier::SaveVerifier(DeviceSession& session, QSettings& settings, LabelLookup labels,
                           QObject* parent)
    : QObject(parent), m_session(session), m_settings(settings), m_labels(std::move(labels)) {
    m_enabled = m_settings.value(QLatin1String(kSettingKey), true).toBool();
    connect(&m_session, &DeviceSession::operationStarted, this, &SaveVerifier::onStarted);
    connect(&m_session, &DeviceSession::operationFinished, this, &SaveVerifier::onFinished);
}

void SaveVerifier::setEnabled(bool enabled) {
    m_enabled = enabled;
    m_settings.setValue(QLatin1String(kSettingKey), enabled);
}

void SaveVerifier::onStarted(DeviceSession::Operation operation) {
    if (operation == DeviceSession::Operation::Save) {
        // The page was stored and the lines built from the record just before this.
        m_outcome = SaveOutcome{};
        m_outcome.sent = m_session.parameters();
    }
}

void SaveVerifier::onFinished(DeviceSession::Operation operation, bool ok) {
    if (operation == DeviceSession::Operation::ReadBack && m_readBackRunning) {
        m_readBackRunning = false;
        finishCheck(ok);
        return;
    }
    if (operation != DeviceSession::Operation::Save) {
        return;
    }
    m_outcome.saved = ok;
    if (!ok) {
        m_outcome.failure = m_session.failureReason();
    }
    if (!ok || !m_enabled) {
        emit saveEnded(m_outcome);
        return;
    }
    m_checking = true;
    // Once everyone has seen the save end (the progress dialog closes first).
    QTimer::singleShot(0, this, &SaveVerifier::startReadBack);
}

void SaveVerifier::startReadBack() {
    m_readBackRunning = true;
    if (!m_session.readBack()) {
        m_readBackRunning = false;
        finishCheck(false);
    }
}

void SaveVerifier::finishCheck(bool readBackOk) {
    m_checking = false;
    if (!readBackOk) {
        m_outcome.check = SaveOutcome::Check::Unreadable;
        m_outcome.failure = m_session.isBusy() || m_session.failureReason().isEmpty()
                                ? QStringLiteral("busy")
                                : m_session.failureReason();
        m_session.showStatus(tr("FAIL ! Verify: the tracker could not be read back (%1).\r\n")
                                 .arg(m_outcome.failure));
        emit saveEnded(m_outcome);
        return;
    }
    m_outcome.held = m_session.readBackSet();
    m_outcome.differences =
        differingCodes(m_outcome.sent, m_outcome.held, CodeSelection::SentAndReported);
    m_outcome.notWritable = unwritableDifferences(m_outcome.sent, m_outcome.held);
    QString note;
    if (!m_outcome.notWritable.empty()) {
        QStringList codes;
        for (const std::string& code : m_outcome.notWritable) {
            codes.append(QString::fromStdString(code));
        }
        note = tr(" Not writable: %1.").arg(codes.join(QLatin1Char(' ')));
    }
    if (m_outcome.differences.empty()) {
        m_outcome.check = SaveOutcome::Check::Holds;
        m_session.showStatus(tr("Verify: the tracker holds every value sent.%1\r\n").arg(note));
    } else {
        m_outcome.check = SaveOutcome::Check::Differs;
        m_session.showStatus(tr("FAIL ! Verify: %1 values differ on the tracker.%2\r\n")
                                 .arg(m_outcome.differences.size())
                                 .arg(note));
        m_session.prompter().message(describe(m_outcome.differences), tr("Verify"),
                                     Prompter::Buttons::Ok, Prompter::Icon::Warning);
    }
    emit saveEnded(m_outcome);
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
