// SPDX-License-Identifier: Apache-2.0
#pragma once

// The table of the Compare and Journal views: one row per field the pages show (code, page,
// label) with two values side by side, read-only. With "only differences" the equal rows are
// left out; otherwise the differing ones stand out in bold. The code cell may carry a check box.
//
//   table->setValueNames(tr("Before"), tr("After"));
//   const int differing = table->fill(rows, onlyDifferences);

#include <QTableWidget>
#include <optional>
#include <vector>

#include "app/views/parameter_index.h"

namespace qn470 {

struct ValueRow {
    const IndexedParameter* parameter = nullptr;
    QString left;
    QString right;
    bool differs = false;
    std::optional<bool> checked;  // a check box in the code cell, when set
};

class ValueTable : public QTableWidget {
    Q_OBJECT

public:
    enum Column { kCode, kPage, kLabel, kLeft, kRight, kColumnCount };

    explicit ValueTable(QWidget* parent = nullptr);

    void setValueNames(const QString& left, const QString& right);
    // Shows the rows (all, or the differing ones); returns how many differ.
    int fill(const std::vector<ValueRow>& rows, bool onlyDifferences);
    // The parameter a shown row stands for; null outside them.
    const IndexedParameter* rowParameter(int row) const;

private:
    std::vector<const IndexedParameter*> m_shown;
};

}  // namespace qn470
