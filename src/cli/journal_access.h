// SPDX-License-Identifier: Apache-2.0
#pragma once

// Which journal a qn470 command uses, and opening it with the error printed: for `qn470 journal`
// and for every command that records what it did to a tracker.

#include <QString>
#include <memory>
#include <string>

#include "journal/journal.h"

namespace qn470::cli {

// The environment variable naming the journal when --journal is not given.
inline constexpr char kJournalVariable[] = "QN470_JOURNAL";

// --journal's value when given (not empty), else $QN470_JOURNAL when set and not empty, else
// Journal::defaultLocation().
QString journalLocation(const std::string& urlOrEmpty);

// Opens the journal at journalLocation(urlOrEmpty); prints "qn470: <error>" on standard error
// and returns nullptr when that fails (exit status kExitBadInput then).
std::unique_ptr<Journal> openJournalOrReport(const std::string& urlOrEmpty);

}  // namespace qn470::cli
