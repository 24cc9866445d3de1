// SPDX-License-Identifier: Apache-2.0
#include "config/report_completeness.h"

#include "config/series_codes.h"

namespace qn470 {

const CodeSet& requiredReportCodes() {
    static const CodeSet required = [] {
        CodeSet codes;
        for (const Parameter& p : allParameters()) {
            if (carriedBySeries(p) && p.decode != Decode::None) {
                codes.set(parameterIndex(p));
            }
        }
        return codes;
    }();
    return required;
}

std::vector<std::string_view> missingReportCodes(const CodeSet& arrived) {
    const CodeSet missing = requiredReportCodes() & ~arrived;
    std::vector<std::string_view> codes;
    if (missing.none()) {
        return codes;
    }
    for (const Parameter& p : allParameters()) {
        if (missing.test(parameterIndex(p))) {
            codes.push_back(p.code);
        }
    }
    return codes;
}

std::string listCodes(const std::vector<std::string_view>& codes, std::size_t shown) {
    std::string text;
    for (std::size_t i = 0; i < codes.size() && i < shown; ++i) {
        if (i > 0) {
            text += ", ";
        }
        text += codes[i];
    }
    if (codes.size() > shown) {
        text += " and " + std::to_string(codes.size() - shown) + " more";
    }
    return text;
}

}  // namespace qn470
