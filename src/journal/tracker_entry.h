// SPDX-License-Identifier: Apache-2.0
#pragma once

// The one builder of journal entries: the window, qn470 and provisioning describe what they did
// to a tracker through it, so an entry means the same whoever wrote it (the same result texts,
// identity taken from the same state, codes written in sending order).
//
//   JournalEntry entry = trackerEntry(EntryKind::kSave, port, &before, &held, result);
//   setProfile(entry, "fleet.pro", profileBytes);
//   setBlocksWritten(entry, blocks);

#include <QByteArray>
#include <QString>
#include <string_view>
#include <vector>

#include "config/operation_result.h"
#include "config/parameter_set.h"
#include "journal/journal.h"

namespace qn470 {

namespace EntryKind {
inline constexpr char kLoad[] = "load";
inline constexpr char kSave[] = "save";  // from the window or qn470 save
inline constexpr char kProvision[] = "provision";
inline constexpr char kRestore[] = "restore";
}  // namespace EntryKind

// The bytes of a .pro file holding set, as "Save to file" writes them.
QByteArray storedProfile(const ParameterSet& set);

// An entry stamped now on this station. IMEI, Device ID and firmware come from after, or from
// before when the tracker was not read again; either state may be null (a load that failed).
JournalEntry trackerEntry(const char* kind, const QString& port, const ParameterSet* before,
                          const ParameterSet* after, const OperationResult& result);

// Names the profile written and its SHA-256 (lower-case hex of the file's bytes).
void setProfile(JournalEntry& entry, const QString& name, std::string_view bytes);

// The codes the blocks carry, in sending order (see codesOfBlocks).
void setBlocksWritten(JournalEntry& entry, const std::vector<int>& blocks);

}  // namespace qn470
