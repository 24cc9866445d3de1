#include "app/window_journal.h"

#include <QSettings>
#include <QSysInfo>
#include <QTimer>

#include "app/save_verifier.h"
#include "config/parameter_table.h"
#include "config/parameter_value.h"
#include "config/profile.h"
#include "config/stored_form.h"
#include "serial/serial_link.h"
#include "session/prompter.h"

namespace qn470 {
namespace {

// The bytes of a .pro file holding set, as "Save to file" writes them.
QByteArray storedProfile(const ParameterSet& set) {
    const std::string bytes = complementBytes(profileText(set));
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString textOf(const ParameterSet& set, std::string_view code) {
    return QString::fromStdString(readText(set, code));
}

// A whole save writes every code a set line carries.
QStringList sentCodes() {
    QStringList codes;
    for (const Parameter& p : allParameters()) {
        if (p.wire != Wire::None) {
            codes.append(QString::fromLatin1(p.code.data(), static_cast<qsizetype>(p.code.size())));
        }
    }
    return codes;
}

}  // namespace

WindowJournal::WindowJournal(DeviceSession& session, QSettings& settings, SaveVerifier& verifier,
                             QObject* parent)
    : QObject(parent), m_session(session), m_settings(settings) {
    connect(&m_session, &DeviceSession::operationStarted, this, &WindowJournal::onStarted);
    connect(&m_session, &DeviceSession::operationFinished, this, &WindowJournal::onFinished);
    connect(&verifier, &SaveVerifier::saveEnded, this, &WindowJournal::onSaveEnded);
    // Another tracker may be on the port now.
    connect(&m_session.link(), &CSerialLink::deviceLost, this, [this] { m_known.reset(); });
    connect(&m_session, &DeviceSession::connectionChanged, this, [this] { m_known.reset(); });
}

WindowJournal::~WindowJournal() = default;

QString WindowJournal::location() const {
    const QString fromEnvironment = qEnvironmentVariable(kLocationVariable);
    if (!fromEnvironment.isEmpty()) {
        return fromEnvironment;
    }
    const QString fromSettings = m_settings.value(QLatin1String(kLocationSetting)).toString();
    return fromSettings.isEmpty() ? Journal::defaultLocation() : fromSettings;
}

Journal* WindowJournal::journal() {
    if (m_journal == nullptr && !m_failed) {
        QString error;
        m_journal = Journal::open(location(), &error);
        if (m_journal == nullptr) {
            fail(tr("cannot open %1").arg(error));
        }
    }
    return m_journal.get();
}

void WindowJournal::fail(const QString& message) {
    m_failed = true;
    m_journal.reset();
    const QString text = tr("Journal: %1; going on without a journal.").arg(message);
    m_session.showStatus(text + QStringLiteral("\r\n"));
    m_session.prompter().message(text, tr("Journal"), Prompter::Buttons::Ok,
                                 Prompter::Icon::Warning);
}

void WindowJournal::saveToDevice() {
    const bool stateUnknown = !m_session.loadedOnThisConnection() || !m_known.has_value();
    if (stateUnknown && !m_session.isBusy() && m_session.link().isOpen() && journal() != nullptr) {
        // Nothing may go out, not even the read, for a save that will be refused.
        if (!m_session.checkSave()) {
            return;
        }
        m_readingBeforeSave = true;
        if (m_session.readBack()) {
            return;
        }
        m_readingBeforeSave = false;
    }
    m_session.saveToDevice();
}

void WindowJournal::onStarted(DeviceSession::Operation operation) {
    if (operation == DeviceSession::Operation::Load ||
        operation == DeviceSession::Operation::Save) {
        m_port = m_session.link().portName();
    }
}

void WindowJournal::onFinished(DeviceSession::Operation operation, bool ok) {
    if (operation == DeviceSession::Operation::ReadBack && m_readingBeforeSave) {
        m_readingBeforeSave = false;
        if (ok) {
            m_known = m_session.readBackSet();
        }
        // Closing the progress dialog means "do not go on". A tracker that answers with an
        // incomplete report is still saved to: its entry then says the before state is unknown.
        if (ok || m_session.readBackEnd() != DeviceSession::ReadBackEnd::Cancelled) {
            // Once the read-back's progress dialog has seen its end.
            QTimer::singleShot(0, this, [this] { m_session.saveToDevice(); });
        }
        return;
    }
    if (operation != DeviceSession::Operation::Load) {
        return;
    }
    if (ok) {
        m_known = m_session.parameters();
    }
    JournalEntry entry = entryFor(m_session.parameters(), QStringLiteral("load"));
    if (ok) {
        // A load changes nothing: the tracker held before what it holds after.
        entry.before = entry.after = storedProfile(m_session.parameters());
        entry.result = QStringLiteral("ok");
    } else {
        entry.imei = entry.deviceId = entry.firmware = QString();
        const auto& missing = m_session.missingCodes();
        entry.result =
            !m_session.link().isOpen() ? QStringLiteral("failed link lost")
            : !missing.empty()
                ? QStringLiteral("failed report incomplete: %1 codes missing").arg(missing.size())
                : QStringLiteral("failed no complete report");
    }
    record(entry);
}

void WindowJournal::onSaveEnded(const SaveOutcome& outcome) {
    using Check = SaveOutcome::Check;
    const bool readBack = outcome.check == Check::Holds || outcome.check == Check::Differs;
    const ParameterSet& identity = readBack ? outcome.held : m_known ? *m_known : outcome.sent;
    JournalEntry entry = entryFor(identity, QStringLiteral("save"));
    if (m_known) {
        entry.before = storedProfile(*m_known);
    }
    entry.codesWritten = sentCodes();
    if (!outcome.saved) {
        entry.result = m_session.link().isOpen() ? QStringLiteral("failed save not complete")
                                                 : QStringLiteral("failed link lost");
        m_known.reset();
    } else if (readBack) {
        entry.after = storedProfile(outcome.held);
        QStringList codes;
        for (const CodeDifference& difference : outcome.differences) {
            codes.append(QString::fromStdString(difference.code));
        }
        entry.result = codes.isEmpty() ? QStringLiteral("ok")
                                       : QStringLiteral("differs ") + codes.join(QLatin1Char(' '));
        m_known = outcome.held;
    } else if (outcome.check == Check::Unreadable) {
        entry.result = QStringLiteral("failed verify: ") + outcome.failure;
        m_known.reset();
    } else {
        // Not checked: what was sent is the best knowledge of what it holds.
        entry.after = storedProfile(outcome.sent);
        entry.result = QStringLiteral("ok");
        m_known = outcome.sent;
    }
    record(entry);
}

JournalEntry WindowJournal::entryFor(const ParameterSet& identity, const QString& kind) const {
    JournalEntry entry;
    entry.time = QDateTime::currentDateTimeUtc();
    entry.station = QSysInfo::machineHostName();
    entry.port = m_port;
    entry.imei = textOf(identity, "B2");
    entry.deviceId = textOf(identity, "O5");
    entry.firmware = textOf(identity, "O7");
    entry.kind = kind;
    return entry;
}

void WindowJournal::record(const JournalEntry& entry) {
    Journal* store = journal();
    if (store == nullptr) {
        return;
    }
    QString error;
    const qint64 id = store->record(entry, &error);
    if (id < 0) {
        fail(tr("cannot write to %1").arg(error));
        return;
    }
    emit recorded(id);
}

}  // namespace qn470
