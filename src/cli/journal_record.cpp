// SPDX-License-Identifier: Apache-2.0
#include "cli/journal_record.h"

#include <iostream>

namespace qn470::cli {

bool recordOrReport(Journal& journal, const JournalEntry& entry) {
    QString error;
    if (journal.record(entry, &error) < 0) {
        std::cerr << "qn470: " << error.toLocal8Bit().toStdString() << '\n';
        return false;
    }
    return true;
}

}  // namespace qn470::cli
