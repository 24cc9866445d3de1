#include "session/code_comparison.h"

#include "config/parameter_table.h"
#include "config/wire_value.h"

namespace qn470 {
namespace {

bool selected(const Parameter& p, CodeSelection selection) {
    const bool sent = p.wire != Wire::None;
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

}  // namespace qn470
