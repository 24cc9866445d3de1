// SPDX-License-Identifier: Apache-2.0
#pragma once

// The "Compare" dialog: the window's values beside those of another source, the tracker (read
// back without touching the record), a profile file or the built-in defaults. One row per field
// the pages show, "Only differences" on by default; the checked rows' values go into the window
// with "Take over". The tracker can be asked only while connected.

#include <QDialog>
#include <set>
#include <vector>

#include "app/views/parameter_index.h"
#include "app/views/value_table.h"
#include "config/parameter_set.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace qn470 {

class DeviceSession;
class FileOperations;
class WindowValues;

class CCompareView : public QDialog {
    Q_OBJECT

public:
    enum Column {
        kCode = ValueTable::kCode,
        kPage = ValueTable::kPage,
        kLabel = ValueTable::kLabel,
        kWindow = ValueTable::kLeft,
        kOther = ValueTable::kRight,
        kColumnCount = ValueTable::kColumnCount
    };

    CCompareView(WindowValues& values, DeviceSession& session, FileOperations& files,
                 QWidget* parent = nullptr);

    // The three sources; each fills the table when its values are at hand.
    void compareWithTracker();
    void compareWithFile();
    void compareWithDefaults();

    // Copies the checked rows' values into the window.
    void takeOver();

    // Shows the window's values again (they changed).
    void refresh();

    ValueTable* table() const { return m_table; }
    QCheckBox* onlyDifferences() const { return m_onlyDifferences; }
    QPushButton* trackerButton() const { return m_tracker; }
    QPushButton* takeOverButton() const { return m_takeOver; }
    QString note() const;
    // Why the tracker cannot be asked now; empty while it can.
    QString trackerNote() const;
    const IndexedParameter* rowParameter(int row) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showSource(const ParameterSet& other, const QString& name);
    void fill();
    void updateTrackerButton();

    WindowValues& m_values;
    DeviceSession& m_session;
    FileOperations& m_files;
    QPushButton* m_tracker;
    QPushButton* m_file;
    QPushButton* m_defaults;
    QLabel* m_note;
    QLabel* m_trackerNote;
    ValueTable* m_table;
    QCheckBox* m_onlyDifferences;
    QPushButton* m_takeOver;
    ParameterSet m_other;
    QString m_otherName;  // empty until a source was read
    bool m_readingTracker = false;
    std::set<const IndexedParameter*> m_checked;
};

}  // namespace qn470
