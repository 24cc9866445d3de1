// SPDX-License-Identifier: Apache-2.0
#include "config/series_difference.h"

namespace qn470 {

std::vector<int> changedBlocks(const SetCommandTable& wanted, const SetCommandTable& held) {
    std::vector<int> blocks;
    for (int block = 0; block < kEncodedBlockCount; ++block) {
        const auto slot = static_cast<std::size_t>(block);
        if (wanted.lines[slot].empty()) {
            continue;
        }
        const bool frame = block == kFirstBlock || block == kClosingBlock;
        if (frame || wanted.lines[slot].line != held.lines[slot].line) {
            blocks.push_back(block);
        }
    }
    return blocks;
}

std::vector<int> wholeSeriesBlocks(const SetCommandTable& wanted) {
    std::vector<int> blocks;
    for (int block = 0; block < kEncodedBlockCount; ++block) {
        if (!wanted.lines[static_cast<std::size_t>(block)].empty()) {
            blocks.push_back(block);
        }
    }
    return blocks;
}

}  // namespace qn470
