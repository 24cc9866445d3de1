// SPDX-License-Identifier: Apache-2.0
#pragma once

// Which lines of a series a tracker still needs: those whose text differs from the line built
// from what it holds. The first block and the closing block always go too, because the tracker
// frames a series by them.

#include <vector>

#include "config/set_command_encoder.h"

namespace qn470 {

// Block numbers in sending order; only blocks whose wanted line is not empty.
std::vector<int> changedBlocks(const SetCommandTable& wanted, const SetCommandTable& held);

// Every block of the series that is not empty, in sending order.
std::vector<int> wholeSeriesBlocks(const SetCommandTable& wanted);

}  // namespace qn470
