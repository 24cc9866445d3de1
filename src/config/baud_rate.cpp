// SPDX-License-Identifier: Apache-2.0
#include "config/baud_rate.h"

namespace qn470 {

std::string standardBaudRatesText() {
    std::string list;
    for (const int rate : kStandardBaudRates) {
        list += (list.empty() ? "" : ", ") + std::to_string(rate);
    }
    return list;
}

}  // namespace qn470
