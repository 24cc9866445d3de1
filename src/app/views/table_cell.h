// SPDX-License-Identifier: Apache-2.0
#pragma once

// The cells of the window's read-only tables (Changes, Compare): selectable, never edited. What a
// tracker or a file holds is shown with its control characters escaped, as on a terminal.

#include <QTableWidgetItem>

#include "journal/journal_text.h"

namespace qn470 {

inline QTableWidgetItem* readOnlyCell(const QString& text) {
    auto* item = new QTableWidgetItem(escapeControls(text));
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return item;
}

}  // namespace qn470
