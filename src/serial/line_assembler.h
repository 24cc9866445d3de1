// SPDX-License-Identifier: Apache-2.0
#pragma once

// Cuts the byte stream from the tracker into text lines.
//
//   LineAssembler assembler;
//   for (const std::string& line : assembler.feed(data, size)) { ... }  // lines without CR LF
//
// Lines end with CR LF. The accumulator never holds more than kMaxLength characters: when it is
// full and holds no CR LF, a line end is forced (after the first lone CR, before the first lone LF,
// or at the end), so an overlong line arrives in pieces. Input is taken in pieces of at most
// kMaxPiece bytes, and never more than fills the accumulator, so the lines do not depend on how
// the stream was chunked. NUL bytes are dropped. Pure standard C++ (no Qt).

#include <cstddef>
#include <string>
#include <vector>

#include "config/command_line.h"

namespace qn470 {

class LineAssembler {
public:
    static constexpr std::size_t kMaxLength = kLineBufferLength;
    static constexpr std::size_t kMaxPiece = 64;

    // Takes any number of received bytes; returns the lines completed by them, in order.
    std::vector<std::string> feed(const char* data, std::size_t size);

    // Forgets the unfinished tail (the link was closed or reopened).
    void reset() { m_accumulator.clear(); }

    // The unfinished tail kept for the next feed.
    const std::string& pending() const { return m_accumulator; }

private:
    void appendPiece(const char* data, std::size_t size);
    void forceLineEndIfFull();
    void splitLines(std::vector<std::string>& lines);

    std::string m_accumulator;
};

}  // namespace qn470
