// SPDX-License-Identifier: Apache-2.0
#include "config/series_codes.h"

#include <algorithm>

#include "config/set_command_encoder.h"

namespace qn470 {

const CodeSet& seriesCodes() {
    static const CodeSet codes = [] {
        CodeSet set;
        for (int block = 0; block < kEncodedBlockCount; ++block) {
            for (const std::string& code : SetCommandEncoder::blockCodes(block)) {
                set.set(parameterIndex(parameter(code)));
            }
        }
        return set;
    }();
    return codes;
}

bool carriedBySeries(const Parameter& p) {
    return seriesCodes().test(parameterIndex(p));
}

std::vector<std::string> codesOfBlocks(const std::vector<int>& blocks) {
    std::vector<std::string> codes;
    for (const int block : blocks) {
        for (std::string& code : SetCommandEncoder::blockCodes(block)) {
            if (std::find(codes.begin(), codes.end(), code) == codes.end()) {
                codes.push_back(std::move(code));
            }
        }
    }
    return codes;
}

}  // namespace qn470
