// SPDX-License-Identifier: Apache-2.0
#include "cli/report_reader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace qn470::cli {
namespace {

constexpr std::size_t kChunkBytes = 64u << 10;

ReportReadResult tooLong(long lineNumber, std::size_t maxLine) {
    return {false, "line " + std::to_string(lineNumber) + " is longer than " +
                       std::to_string(maxLine) + " characters; not a tracker report"};
}

}  // namespace

ReportReadResult forEachReportLine(int fd, const std::function<void(std::string_view)>& onLine,
                                   std::size_t maxLine) {
    std::vector<char> chunk(kChunkBytes);
    std::string pending;  // the start of a line that goes on in the next chunk
    long lineNumber = 1;
    for (;;) {
        const ssize_t n = ::read(fd, chunk.data(), chunk.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return {false, std::string("read failed (") + std::strerror(errno) + ")"};
        }
        if (n == 0) {
            break;
        }
        std::string_view rest(chunk.data(), static_cast<std::size_t>(n));
        if (rest.find('\0') != std::string_view::npos) {
            return {false, "not a text report (it holds NUL bytes)"};
        }
        for (std::size_t end; (end = rest.find('\n')) != std::string_view::npos;) {
            std::string_view line = rest.substr(0, end);
            rest.remove_prefix(end + 1);
            if (!pending.empty()) {
                pending.append(line);
                line = pending;
            }
            if (line.ends_with('\r')) {
                line.remove_suffix(1);
            }
            if (line.size() > maxLine) {
                return tooLong(lineNumber, maxLine);
            }
            onLine(line);
            pending.clear();
            ++lineNumber;
        }
        // One more character may be the CR of the line end.
        if (pending.size() + rest.size() > maxLine + 1) {
            return tooLong(lineNumber, maxLine);
        }
        pending.append(rest);
    }
    if (pending.size() > maxLine) {
        return tooLong(lineNumber, maxLine);
    }
    if (!pending.empty()) {
        onLine(pending);  // the last line, without a line end: nothing is dropped from it
    }
    return {true, {}};
}

}  // namespace qn470::cli
