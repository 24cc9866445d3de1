// SPDX-License-Identifier: Apache-2.0
#pragma once

// Builds the series of set-command lines that writes a whole ParameterSet into the tracker:
// blocks 0..70 in slots 0..70, slots 71..74 always empty. Slot order is sending order. Every line
// built is decoded back the way the tracker reads it; a line that does not give back exactly its
// own values, and changes nothing else, is listed as unfaithful.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "config/command_line.h"
#include "config/parameter_set.h"

namespace qn470 {

inline constexpr int kSlotCount = 75;
inline constexpr int kEncodedBlockCount = 71;
// Blocks 0 to 34 carry parameters, 35 to 69 one event message text each; block 70 closes the
// series (the tracker applies a series when its closing line comes).
inline constexpr int kFirstBlock = 0;
inline constexpr int kFirstEventBlock = 35;
inline constexpr int kClosingBlock = kEncodedBlockCount - 1;

// The longest line, CR LF included, that a slot holds: what the tracker's receive side takes. A
// longer line is never cut: its slot stays empty and it is reported.
inline constexpr std::size_t kMaxSetLineLength = kLineBufferLength;

struct LineSlot {
    std::string line;  // the whole line with CR LF, or empty when the slot sends nothing
    bool empty() const { return line.empty(); }
};

// A block whose line would exceed kMaxSetLineLength, with the text codes to shorten.
struct OverlongLine {
    int block = 0;
    std::size_t length = 0;
    std::vector<std::string> textCodes;
};

// A block whose line, decoded as the tracker decodes it, does not give back the values it was
// built from (a text holding a comma, say), with the codes that came back different.
struct UnfaithfulLine {
    int block = 0;
    std::vector<std::string> codes;
};

// The member is not called "slots": Qt code includes this header, and Qt defines that word.
struct SetCommandTable {
    std::array<LineSlot, kSlotCount> lines;  // one slot per block, in sending order
    std::vector<OverlongLine> overlong;
    std::vector<UnfaithfulLine> unfaithful;

    // A series with an overlong or unfaithful line must not be sent at all.
    bool complete() const { return overlong.empty() && unfaithful.empty(); }
    // "block 14 (SL, S3, S6, PD): 260 characters; ..." for messages.
    std::string describeOverlong() const;
    // "block 5 (E0, A2); block 35 (BA)" for messages.
    std::string describeUnfaithful() const;
    // Every code of an unfaithful line, in block order, each once.
    std::vector<std::string> unfaithfulCodes() const;
};

class SetCommandEncoder {
public:
    // Rebuilds every slot from scratch.
    static void encode(const ParameterSet& set, SetCommandTable& table);
    static SetCommandTable encode(const ParameterSet& set);

    // The codes of one block in sending order (empty for an unknown block).
    static std::vector<std::string> blockCodes(int block);
};

}  // namespace qn470
