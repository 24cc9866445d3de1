// SPDX-License-Identifier: Apache-2.0
#include "config/action_text.h"

#include <algorithm>

namespace qn470 {

bool isValidActionCode(std::string_view code) {
    return std::find(kActionCodes.begin(), kActionCodes.end(), code) != kActionCodes.end();
}

std::array<std::string, kActionSlots> splitActionText(std::string_view text) {
    std::array<std::string, kActionSlots> codes;
    for (std::size_t k = 0; k < codes.size(); ++k) {
        codes[k] = text.size() >= 2 * (k + 1) ? std::string(text.substr(2 * k, 2))
                                              : std::string(kNoActionCode);
    }
    return codes;
}

std::string joinActionSlots(const std::array<std::string, kActionSlots>& codes) {
    std::string text;
    for (const std::string& slot : codes) {
        text += slot;
    }
    return text;
}

}  // namespace qn470
