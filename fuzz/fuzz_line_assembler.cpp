// SPDX-License-Identifier: Apache-2.0
// Feeds arbitrary bytes from the serial port to the line assembler, whole and in pieces whose
// sizes come from the input. The lines must not depend on the chunking, and none may be longer
// than the assembler's limit or hold a NUL byte or a CR LF.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "serial/line_assembler.h"

namespace {

void check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

std::vector<std::string> feedInPieces(const char* data, std::size_t size, uint8_t seed,
                                      std::string& pending) {
    qn470::LineAssembler assembler;
    std::vector<std::string> lines;
    std::size_t at = 0;
    std::size_t piece = seed % 7 + 1;
    while (at < size) {
        const std::size_t n = std::min(piece, size - at);
        for (std::string& line : assembler.feed(data + at, n)) {
            lines.push_back(std::move(line));
        }
        at += n;
        piece = (piece * 5 + 3) % 300 + 1;  // irregular sizes, some above the piece limit
    }
    pending = assembler.pending();
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const char* bytes = reinterpret_cast<const char*>(data) + 1;
    const std::size_t length = size - 1;
    qn470::LineAssembler whole;
    const std::vector<std::string> expected = whole.feed(bytes, length);
    for (const std::string& line : expected) {
        check(line.size() <= qn470::LineAssembler::kMaxLength);
        check(line.find('\0') == std::string::npos);
        check(line.find("\r\n") == std::string::npos);
    }
    check(whole.pending().size() <= qn470::LineAssembler::kMaxLength);
    std::string pending;
    check(feedInPieces(bytes, length, data[0], pending) == expected);
    check(pending == whole.pending());
    return 0;
}
