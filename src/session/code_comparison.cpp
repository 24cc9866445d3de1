// SPDX-License-Identifier: Apache-2.0
#include "session/code_comparison.h"

#include "config/parameter_table.h"
#include "config/series_codes.h"
#include "config/wire_value.h"

namespace qn470 {
namespace {

bool selected(const Parameter& p, CodeSelection selection) {
    const bool sent = carriedBySeries(p);
    const bool reported = p.decode != Decode::None;
    switch (selection) {
        case CodeSelection::Sent:
            return sent;
        case CodeSelection::Reported:
            return reported;
        case CodeSelection::SentAndReported:
            return sent && reported;
    }
    return false;
}

}  // namespace

std::vector<CodeDifference> differingCodes(const ParameterSet& expected, const ParameterSet& actual,
                                           CodeSelection selection) {
    std::vector<CodeDifference> differences;
    for (const Parameter& p : allParameters()) {
        if (!selected(p, selection)) {
            continue;
        }
        std::string a = formatWireValue(expected, p);
        std::string b = formatWireValue(actual, p);
        if (a != b) {
            differences.push_back({std::string(p.code), std::move(a), std::move(b)});
        }
    }
    return differences;
}

std::vector<std::string> unwritableDifferences(const ParameterSet& wanted,
                                               const ParameterSet& held) {
    std::vector<std::string> codes;
    for (const Parameter& p : allParameters()) {
        const bool identity = p.code == "B2" || p.code == "B3" || p.storage == Storage::Firmware ||
                              p.storage == Storage::Hardware;
        if (carriedBySeries(p) || p.decode == Decode::None || identity) {
            continue;
        }
        const Wire shown = p.isText() ? Wire::Text : Wire::Dec;
        if (formatWireValue(wanted, p, shown) != formatWireValue(held, p, shown)) {
            codes.emplace_back(p.code);
        }
    }
    return codes;
}

}  // namespace qn470
