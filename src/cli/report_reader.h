// SPDX-License-Identifier: Apache-2.0
#pragma once

// Reads a tracker report line by line in constant memory: a fixed buffer, and at most one line
// held, whatever the size of the file or stream. A line ends at LF; one CR right before the LF is
// dropped; a last line without LF counts too.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace qn470::cli {

// Far beyond the longest line a tracker sends (kMaxReportLineLength); anything longer is not a
// report.
inline constexpr std::size_t kMaxReportLineChars = 65536;

struct ReportReadResult {
    bool ok = false;
    std::string error;  // "line 17 is longer than 65536 characters; not a tracker report"
};

// Hands every line read from the descriptor to onLine, in order, until the end of input. Stops
// at a NUL byte, a line longer than maxLine characters or a read error.
ReportReadResult forEachReportLine(int fd, const std::function<void(std::string_view)>& onLine,
                                   std::size_t maxLine = kMaxReportLineChars);

}  // namespace qn470::cli
