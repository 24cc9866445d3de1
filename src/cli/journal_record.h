#pragma once

// Building the journal entry of what a qn470 command did to a tracker, and storing it.

#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "config/parameter_set.h"
#include "journal/journal.h"

namespace qn470::cli {

// An entry stamped now on this station; IMEI, Device ID and firmware come from after, or from
// before when the tracker was not read again. Either state may be null.
JournalEntry trackerEntry(const QString& kind, const QString& port, const ParameterSet* before,
                          const ParameterSet* after, const QString& result);

// Names the profile written and its SHA-256 (lower-case hex of the file's bytes).
void setProfile(JournalEntry& entry, const QString& name, std::string_view bytes);

void setCodesWritten(JournalEntry& entry, const std::vector<std::string>& codes);

// Stores the entry; prints "qn470: <error>" and returns false when it cannot.
bool recordOrReport(Journal& journal, const JournalEntry& entry);

}  // namespace qn470::cli
