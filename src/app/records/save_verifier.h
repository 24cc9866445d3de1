// SPDX-License-Identifier: Apache-2.0
#pragma once

// Checks a save against the tracker: after "Save to device" completes, the tracker is read back
// (into a set of its own; the record and the pages stay as they are) and every value a set line
// carries and a report brings back is compared with what was sent. The status log says whether
// the tracker holds every value; differences are listed in a "Verify" message (code, label, sent,
// held). On by default; the choice is remembered in the settings. SaveToDevice runs the read-back
// and asks judge() for the verdict.

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "app/records/save_outcome.h"
#include "session/device_session.h"

class QSettings;

namespace qn470 {

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

    // The check of a saved outcome, from the session's read-back (readBackOk) or its failure;
    // said on the status line, differences also in a message.
    void judge(SaveOutcome& outcome, bool readBackOk);

    // The message text listing the differences.
    QString describe(const std::vector<CodeDifference>& differences) const;

private:
    DeviceSession& m_session;
    QSettings& m_settings;
    LabelLookup m_labels;
    bool m_enabled = true;
};

}  // namespace qn470
