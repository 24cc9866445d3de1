// SPDX-License-Identifier: Apache-2.0
#pragma once

// qn470 journal audit: what every tracker the journal knows last held, compared with what a
// profile (and its row of a values table) would give it, without touching a tracker.

#include <QDateTime>
#include <optional>
#include <string>

#include "journal/journal.h"

namespace qn470::cli {

struct AuditOptions {
    std::string profile;
    std::string values;  // empty without --values
    std::optional<std::string> keep;
    std::optional<QDateTime> since;
    bool csv = false;
};

// 0 every tracker ok, 1 any differs or is unknown, 2 bad input or an unreadable journal.
int runAudit(Journal& journal, const AuditOptions& options);

}  // namespace qn470::cli
