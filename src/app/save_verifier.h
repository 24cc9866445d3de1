#pragma once

// Checks a save against the tracker: after "Save to device" completes, the tracker is read back
// (into a set of its own; the record and the pages stay as they are) and every value a set line
// carries and a report brings back is compared with what was sent. The status log says whether
// the tracker holds every value; differences are listed in a "Verify" message (code, label, sent,
// held). On by default; the choice is remembered in the settings.
//
//   SaveVerifier verifier(session, settings, [&](const QString& code) { return labelOf(code); });
//   connect(&verifier, &SaveVerifier::saveEnded, journal, ...);   // every save, checked or not

#include <QObject>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "config/parameter_set.h"
#include "session/code_comparison.h"
#include "session/device_session.h"

class QSettings;

namespace qn470 {

// How a save ended, as the window judges it.
struct SaveOutcome {
    enum class Check { Off, Holds, Differs, Unreadable };

    bool saved = false;  // every line went out
    Check check = Check::Off;
    ParameterSet sent;
    ParameterSet held;  // what the read-back found (Holds, Differs)
    std::vector<CodeDifference> differences;
    // Settings no set line carries that the tracker holds otherwise (Holds, Differs): a note.
    std::vector<std::string> notWritable;
    QString failure;  // why the save or its read-back failed (not saved, Unreadable)
};

class SaveVerifier : public QObject {
    Q_OBJECT

public:
    static constexpr char kSettingKey[] = "verifyAfterSave";
    // More lines would not fit a message box on the screen.
    static constexpr int kMaxListedDifferences = 25;

    using LabelLookup = std::function<QString(const QString& code)>;

    SaveVerifier(DeviceSession& session, QSettings& settings, LabelLookup labels = {},
                 QObject* parent = nullptr);

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    // Between the end of a save and the end of its read-back.
    bool isChecking() const { return m_checking; }

    // The message text listing the differences.
    QString describe(const std::vector<CodeDifference>& differences) const;

signals:
    // Once per save that was started, after its check (if any) ended.
    void saveEnded(const qn470::SaveOutcome& outcome);

private:
    void onStarted(DeviceSession::Operation operation);
    void onFinished(DeviceSession::Operation operation, bool ok);
    void startReadBack();
    void finishCheck(bool readBackOk);

    DeviceSession& m_session;
    QSettings& m_settings;
    LabelLookup m_labels;
    bool m_enabled = true;
    bool m_checking = false;
    bool m_readBackRunning = false;
    SaveOutcome m_outcome;
};

}  // namespace qn470
