// SPDX-License-Identifier: Apache-2.0
#pragma once

// The position sentence a tracker prints while data transmission is on: a recommended-minimum
// fix ("$GPRMC,...*hh") at a fixed spot, stamped with the given time.

#include <cstdint>
#include <string>

namespace qn470 {

// The sentence without CR LF for a time in seconds since 1970-01-01 UTC.
std::string positionSentence(int64_t utcSeconds);

// XOR of the characters between "$" and "*", as two upper-case hex digits.
std::string sentenceChecksum(const std::string& sentence);

}  // namespace qn470
