// SPDX-License-Identifier: Apache-2.0
#pragma once

// The "Changes" dialog: every field whose value differs from the reference, with its page, its
// label, the reference's value and the window's, kept up to date while it is open. "Revert"
// puts the reference's value back for the selected rows, "Revert all" for every field; neither
// asks. A double click (or Enter) on a row shows the field on its page.

#include <QDialog>
#include <vector>

#include "app/views/parameter_index.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace qn470 {

class ChangeTracker;
class WindowValues;

class CChangesView : public QDialog {
    Q_OBJECT

public:
    enum Column { kCode, kPage, kLabel, kReference, kCurrent, kColumnCount };

    CChangesView(ChangeTracker& tracker, WindowValues& values, QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }
    QPushButton* revertButton() const { return m_revert; }
    QPushButton* revertAllButton() const { return m_revertAll; }
    // The parameter of a row, in the order shown.
    const IndexedParameter* rowParameter(int row) const;

signals:
    // The user asked to see a row's field.
    void showParameter(const IndexedParameter& parameter);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fill();
    void revertSelected();

    ChangeTracker& m_tracker;
    WindowValues& m_values;
    QLabel* m_summary;
    QTableWidget* m_table;
    QPushButton* m_revert;
    QPushButton* m_revertAll;
    std::vector<const IndexedParameter*> m_rows;
};

}  // namespace qn470
