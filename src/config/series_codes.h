// SPDX-License-Identifier: Apache-2.0
#pragma once

// Which codes a save writes: exactly those the encoder's blocks carry, the closing line's slot
// included (it takes the place Bk would have, so Bk is never written). Completeness of a report,
// every verify, the "not writable" notes and the journal's codes written all ask here, so a code
// moved between blocks changes all of them at once.

#include <string>
#include <vector>

#include "config/parameter_table.h"

namespace qn470 {

// Every code some block of a whole series carries.
const CodeSet& seriesCodes();

bool carriedBySeries(const Parameter& p);

// The codes the given blocks carry, in sending order (the blocks' order, then each block's own),
// each once.
std::vector<std::string> codesOfBlocks(const std::vector<int>& blocks);

}  // namespace qn470
