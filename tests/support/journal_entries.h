// SPDX-License-Identifier: Apache-2.0
// Every entry of a journal with its before and after states, read straight from the store, so a
// test checks what was kept rather than what a view shows.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "journal/journal.h"

namespace qn470 {

inline std::vector<JournalEntry> journalEntriesAt(const QString& location) {
    QString error;
    const std::unique_ptr<Journal> journal = Journal::open(location, &error);
    EXPECT_TRUE(journal) << error.toStdString();
    std::vector<JournalEntry> entries;
    if (journal) {
        for (const JournalEntry& listed : journal->list({}, &error)) {
            std::optional<JournalEntry> entry = journal->entry(listed.id, &error);
            EXPECT_TRUE(entry) << "entry " << listed.id << ": " << error.toStdString();
            if (entry) {
                entries.push_back(std::move(*entry));
            }
        }
    }
    return entries;
}

}  // namespace qn470
