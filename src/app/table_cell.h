#pragma once

// The cells of the window's read-only tables (Changes, Compare): selectable, never edited.

#include <QTableWidgetItem>

namespace qn470 {

inline QTableWidgetItem* readOnlyCell(const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace qn470
