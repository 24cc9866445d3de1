// SPDX-License-Identifier: Apache-2.0
#include "serial/line_assembler.h"

#include <algorithm>

namespace qn470 {

namespace {
constexpr const char* kCrLf = "\r\n";
}

std::vector<std::string> LineAssembler::feed(const char* data, std::size_t size) {
    std::vector<std::string> lines;
    std::size_t offset = 0;
    while (offset < size) {
        // After every piece the accumulator is below kMaxLength again, so the piece is never empty.
        const std::size_t room = kMaxLength - m_accumulator.size();
        const std::size_t piece = std::min({kMaxPiece, room, size - offset});
        appendPiece(data + offset, piece);
        offset += piece;
        forceLineEndIfFull();
        splitLines(lines);
    }
    return lines;
}

void LineAssembler::appendPiece(const char* data, std::size_t size) {
    // A NUL byte is line noise, not the end of the data: drop it and keep the rest.
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] != '\0') {
            m_accumulator.push_back(data[i]);
        }
    }
}

void LineAssembler::forceLineEndIfFull() {
    if (m_accumulator.size() < kMaxLength || m_accumulator.find(kCrLf) != std::string::npos) {
        return;
    }
    const std::size_t cr = m_accumulator.find('\r');
    if (cr != std::string::npos) {
        m_accumulator.insert(cr + 1, 1, '\n');
        return;
    }
    const std::size_t lf = m_accumulator.find('\n');
    if (lf != std::string::npos) {
        m_accumulator.insert(lf, 1, '\r');
        return;
    }
    m_accumulator.append(kCrLf);
}

void LineAssembler::splitLines(std::vector<std::string>& lines) {
    std::size_t start = 0;
    for (std::size_t end = m_accumulator.find(kCrLf, start); end != std::string::npos;
         end = m_accumulator.find(kCrLf, start)) {
        lines.emplace_back(m_accumulator, start, end - start);
        start = end + 2;
    }
    m_accumulator.erase(0, start);
}

}  // namespace qn470
