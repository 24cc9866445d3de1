// SPDX-License-Identifier: Apache-2.0
#include "sim/set_line_applier.h"

#include <charconv>
#include <cstdint>
#include <string>

#include "config/command_line.h"
#include "config/hex_text.h"
#include "config/parameter_table.h"
#include "config/parameter_value.h"
#include "config/report_decoder.h"

namespace qn470 {
namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Items the report decoder skips on purpose: sent in set lines, never reported back.
void storeSentOnly(std::string_view items, ParameterSet& set) {
    std::size_t start = 0;
    while (start < items.size()) {
        std::size_t end = items.find(',', start);
        if (end == std::string_view::npos) {
            end = items.size();
        }
        const std::string_view text = items.substr(start, end - start);
        start = end + 1;
        const std::size_t equals = text.find('=');
        const Parameter* p = equals == 2 ? findParameter(text.substr(0, 2)) : nullptr;
        if (p == nullptr || p->decode != Decode::None || p->wire == Wire::None) {
            continue;
        }
        const std::string_view value = text.substr(3);
        if (p->wire == Wire::Hex2) {
            writeNumber(set, *p, parseHexByte(value));
            continue;
        }
        int64_t n = 0;
        const auto [end_, error] = std::from_chars(value.data(), value.data() + value.size(), n);
        (void)end_;
        if (error == std::errc()) {
            writeNumber(set, *p, n);
        }
    }
}

}  // namespace

std::optional<SetLineFrame> setLineFrame(std::string_view line) {
    const std::string& prefix = setLineHead();
    if (!startsWith(line, prefix)) {
        return std::nullopt;
    }
    line.remove_prefix(prefix.size());
    SetLineFrame frame;
    const char* end = line.data() + line.size();
    const std::from_chars_result mark = std::from_chars(line.data(), end, frame.mark);
    if (mark.ec != std::errc() || mark.ptr == end || *mark.ptr != ',') {
        return std::nullopt;
    }
    if (std::from_chars(mark.ptr + 1, end, frame.block).ec != std::errc()) {
        return std::nullopt;
    }
    return frame;
}

bool applySetLine(std::string_view line, ParameterSet& set) {
    const std::string& prefix = setLineHead();
    if (!startsWith(line, prefix)) {
        return false;
    }
    std::string report(line);
    report.replace(0, kSetHeader.size(), kReportMark);
    ReportDecoder{}.decode(report, set);

    // Only plain lines carry these codes; a quoted text could hold anything after a comma.
    if (line.find('"') == std::string_view::npos) {
        const std::size_t end = line.rfind('*');
        storeSentOnly(
            line.substr(prefix.size(), end == std::string_view::npos ? std::string_view::npos
                                                                     : end - prefix.size()),
            set);
    }
    return true;
}

}  // namespace qn470
