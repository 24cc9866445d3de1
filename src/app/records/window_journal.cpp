// SPDX-License-Identifier: Apache-2.0
#include "app/records/window_journal.h"

#include <QSettings>
#include <QSysInfo>

#include "app/records/save_outcome.h"
#include "config/series_difference.h"
#include "journal/tracker_entry.h"
#include "serial/serial_link.h"
#include "session/prompter.h"

namespace qn470 {

WindowJournal::WindowJournal(DeviceSession& session, QSettings& settings, QObject* parent)
    : QObject(parent), m_session(session), m_settings(settings) {
    connect(&m_session, &DeviceSession::operationStarted, this, &WindowJournal::onStarted);
    connect(&m_session, &DeviceSession::operationFinished, this, &WindowJournal::onFinished);
    // Another tracker may be on the port now.
    connect(&m_session.link(), &CSerialLink::deviceLost, this, [this] { m_known.reset(); });
    connect(&m_session, &DeviceSession::connectionChanged, this, [this] { m_known.reset(); });
}

WindowJournal::~WindowJournal() = default;

WindowJournal::LocationSource WindowJournal::locationSource() const {
    if (!m_chosen.isEmpty()) {
        return LocationSource::Chosen;
    }
    if (!qEnvironmentVariable(kLocationVariable).isEmpty()) {
        return LocationSource::Environment;
    }
    return m_settings.value(QLatin1String(kLocationSetting)).toString().isEmpty()
               ? LocationSource::Default
               : LocationSource::Setting;
}

bool WindowJournal::useLocation(const QString& location, QString* error) {
    std::unique_ptr<Journal> opened = Journal::open(location, error);
    if (opened == nullptr) {
        return false;
    }
    m_journal = std::move(opened);
    m_failed = false;
    m_chosen = location;
    m_settings.setValue(QLatin1String(kLocationSetting), location);
    emit locationChanged();
    return true;
}

QString WindowJournal::location() const {
    if (!m_chosen.isEmpty()) {
        return m_chosen;
    }
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

bool WindowJournal::needsStateBeforeSave() {
    const bool stateUnknown = !m_session.loadedOnThisConnection() || !m_known.has_value();
    return stateUnknown && journal() != nullptr;
}

void WindowJournal::onStarted(DeviceSession::Operation operation) {
    if (operation == DeviceSession::Operation::Load) {
        m_port = m_session.link().portName();
    }
}

void WindowJournal::onFinished(DeviceSession::Operation operation, bool ok) {
    if (operation != DeviceSession::Operation::Load) {
        return;
    }
    using Step = OperationResult::Step;
    if (!ok) {
        record(trackerEntry(
            EntryKind::kLoad, m_port, nullptr, nullptr,
            OperationResult::failed(Step::Read, m_session.failureReason().toStdString())));
        return;
    }
    m_known = m_session.parameters();
    // A load changes nothing: the tracker held before what it holds after.
    record(trackerEntry(EntryKind::kLoad, m_port, &*m_known, &*m_known, OperationResult::ok()));
}

void WindowJournal::recordSave(const SaveOutcome& outcome) {
    using Check = SaveOutcome::Check;
    using Step = OperationResult::Step;
    const bool readBack = outcome.check == Check::Holds || outcome.check == Check::Differs;
    const ParameterSet* before = outcome.before ? &*outcome.before : nullptr;
    OperationResult result = OperationResult::ok();
    if (!outcome.saved) {
        result = OperationResult::failed(Step::Write, outcome.failure.toStdString());
    } else if (outcome.check == Check::Unreadable) {
        result = OperationResult::failed(Step::Verify, outcome.failure.toStdString());
    } else if (outcome.check == Check::Differs) {
        std::vector<std::string> codes;
        for (const CodeDifference& difference : outcome.differences) {
            codes.push_back(difference.code);
        }
        result = OperationResult::differs(std::move(codes));
    }
    // Without a read-back nothing is known of what it holds after; the entry says so by having
    // no after state, as qn470 save without --verify.
    JournalEntry entry = trackerEntry(EntryKind::kSave, outcome.port, before,
                                      readBack ? &outcome.held : nullptr, result);
    if (entry.imei.isEmpty() && before == nullptr) {
        // Neither read: the record's identity is the best there is (a load filled it).
        const JournalEntry identity =
            trackerEntry(EntryKind::kSave, outcome.port, nullptr, &outcome.sent, result);
        entry.imei = identity.imei;
        entry.deviceId = identity.deviceId;
        entry.firmware = identity.firmware;
    }
    setBlocksWritten(entry, wholeSeriesBlocks(SetCommandEncoder::encode(outcome.sent)));
    if (!outcome.saved || outcome.check == Check::Unreadable) {
        m_known.reset();
    } else {
        // Not checked: what was sent is the best knowledge of what it holds for the next save.
        m_known = readBack ? outcome.held : outcome.sent;
    }
    record(entry);
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
