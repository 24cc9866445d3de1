// SPDX-License-Identifier: Apache-2.0
#pragma once

// Storing the journal entry of what a qn470 command did to a tracker (built by
// journal/tracker_entry.h, as the window and provisioning build theirs).

#include "journal/journal.h"
#include "journal/tracker_entry.h"

namespace qn470::cli {

// Stores the entry; prints "qn470: <error>" and returns false when it cannot.
bool recordOrReport(Journal& journal, const JournalEntry& entry);

}  // namespace qn470::cli
