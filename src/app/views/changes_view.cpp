// SPDX-License-Identifier: Apache-2.0
#include "app/views/changes_view.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <set>

#include "app/views/change_tracker.h"
#include "app/views/table_cell.h"
#include "app/views/window_values.h"

namespace qn470 {
CChangesView::CChangesView(ChangeTracker& tracker, WindowValues& values, QWidget* parent)
    : QDialog(parent),
      m_tracker(tracker),
      m_values(values),
      m_summary(new QLabel(this)),
      m_table(new QTableWidget(0, kColumnCount, this)),
      m_revert(new QPushButton(tr("&Revert"), this)),
      m_revertAll(new QPushButton(tr("Revert &all"), this)) {
    setObjectName(QStringLiteral("changesView"));
    setWindowTitle(tr("Changes"));
    setModal(false);
    m_table->setObjectName(QStringLiteral("changesTable"));
    m_table->setAccessibleName(tr("Changed fields"));
    m_table->setHorizontalHeaderLabels(
        {tr("Code"), tr("Page"), tr("Label"), tr("Reference"), tr("Current")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);  // Tab leaves the table for the buttons
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_revert->setObjectName(QStringLiteral("revert"));
    m_revert->setAccessibleName(tr("Revert"));
    m_revert->setAccessibleDescription(tr("Puts the reference value back for the selected rows"));
    m_revertAll->setObjectName(QStringLiteral("revertAll"));
    m_revertAll->setAccessibleName(tr("Revert all"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(m_revert, QDialogButtonBox::ActionRole);
    buttons->addButton(m_revertAll, QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table, 1);
    layout->addWidget(buttons);
    resize(720, 360);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(m_revert, &QPushButton::clicked, this, &CChangesView::revertSelected);
    connect(m_revertAll, &QPushButton::clicked, &m_tracker, &ChangeTracker::revertAll);
    connect(m_table, &QTableWidget::itemSelectionChanged, this,
            [this] { m_revert->setEnabled(!m_table->selectedItems().isEmpty()); });
    connect(m_table, &QTableWidget::itemActivated, this, [this](QTableWidgetItem* item) {
        if (const IndexedParameter* p = rowParameter(item->row())) {
            emit showParameter(*p);
        }
    });
    connect(&m_tracker, &ChangeTracker::changesUpdated, this, [this] {
        if (isVisible()) {
            fill();
        }
    });
}

const IndexedParameter* CChangesView::rowParameter(int row) const {
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[row] : nullptr;
}

void CChangesView::showEvent(QShowEvent* event) {
    fill();
    QDialog::showEvent(event);
}

void CChangesView::fill() {
    // The selection is kept by parameter across a refill.
    std::set<const IndexedParameter*> selected;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) {
        selected.insert(rowParameter(index.row()));
    }
    m_rows = m_tracker.changed();
    const QSignalBlocker quiet(m_table);
    m_table->clearSelection();
    m_table->setRowCount(static_cast<int>(m_rows.size()));
    for (int row = 0; row < static_cast<int>(m_rows.size()); ++row) {
        const IndexedParameter& p = *m_rows[row];
        m_table->setItem(row, kCode, readOnlyCell(p.code));
        m_table->setItem(row, kPage, readOnlyCell(p.tabLabel));
        m_table->setItem(row, kLabel, readOnlyCell(p.label));
        m_table->setItem(row, kReference, readOnlyCell(m_values.textIn(p, m_tracker.reference())));
        m_table->setItem(row, kCurrent, readOnlyCell(m_values.windowText(p)));
        if (selected.count(&p) != 0) {
            m_table->selectionModel()->select(
                m_table->model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }
    m_table->resizeColumnsToContents();
    m_summary->setText(m_rows.empty() ? tr("No field differs from the reference.")
                                      : tr("%n field(s) differ from the reference.", nullptr,
                                           static_cast<int>(m_rows.size())));
    m_revert->setEnabled(!m_table->selectedItems().isEmpty());
    m_revertAll->setEnabled(!m_rows.empty());
}

void CChangesView::revertSelected() {
    std::vector<const IndexedParameter*> chosen;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows()) {
        if (const IndexedParameter* p = rowParameter(index.row())) {
            chosen.push_back(p);
        }
    }
    for (const IndexedParameter* p : chosen) {
        m_tracker.revert(*p);
    }
}

}  // namespace qn470
