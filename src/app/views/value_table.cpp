// SPDX-License-Identifier: Apache-2.0
#include "app/views/value_table.h"

#include <QHeaderView>

#include "app/views/table_cell.h"

namespace qn470 {

ValueTable::ValueTable(QWidget* parent) : QTableWidget(0, kColumnCount, parent) {
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table; the arrow keys move within it.
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    horizontalHeader()->setStretchLastSection(true);
    setHorizontalHeaderLabels({tr("Code"), tr("Page"), tr("Label"), QString(), QString()});
}

void ValueTable::setValueNames(const QString& left, const QString& right) {
    setHorizontalHeaderItem(kLeft, new QTableWidgetItem(left));
    setHorizontalHeaderItem(kRight, new QTableWidgetItem(right));
}

int ValueTable::fill(const std::vector<ValueRow>& rows, bool onlyDifferences) {
    int differing = 0;
    std::vector<const ValueRow*> shown;
    for (const ValueRow& row : rows) {
        differing += row.differs ? 1 : 0;
        if (row.differs || !onlyDifferences) {
            shown.push_back(&row);
        }
    }
    const QSignalBlocker quiet(this);
    m_shown.clear();
    setRowCount(static_cast<int>(shown.size()));
    for (int i = 0; i < static_cast<int>(shown.size()); ++i) {
        const ValueRow& row = *shown[i];
        const IndexedParameter& p = *row.parameter;
        m_shown.push_back(&p);
        QTableWidgetItem* code = readOnlyCell(p.code);
        if (row.checked) {
            code->setFlags(code->flags() | Qt::ItemIsUserCheckable);
            code->setCheckState(*row.checked ? Qt::Checked : Qt::Unchecked);
        }
        setItem(i, kCode, code);
        setItem(i, kPage, readOnlyCell(p.tabLabel));
        setItem(i, kLabel, readOnlyCell(p.label));
        setItem(i, kLeft, readOnlyCell(row.left));
        setItem(i, kRight, readOnlyCell(row.right));
        if (row.differs && !onlyDifferences) {
            // Among the equal rows the different ones stand out.
            for (int column : {kLeft, kRight}) {
                QFont font = item(i, column)->font();
                font.setBold(true);
                item(i, column)->setFont(font);
            }
        }
    }
    resizeColumnsToContents();
    return differing;
}

const IndexedParameter* ValueTable::rowParameter(int row) const {
    return row >= 0 && row < static_cast<int>(m_shown.size()) ? m_shown[row] : nullptr;
}

}  // namespace qn470
