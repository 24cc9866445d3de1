// SPDX-License-Identifier: Apache-2.0
#pragma once

// An action text is up to five two-character action codes joined together; the tracker runs them
// in order when its event happens. "00" is the empty slot.

#include <array>
#include <string>
#include <string_view>

namespace qn470 {

inline constexpr int kActionSlots = 5;
inline constexpr std::string_view kNoActionCode = "00";

// Every code the tracker knows, lower case; comparison is case-sensitive.
inline constexpr std::array<std::string_view, 32> kActionCodes = {
    "84", "85", "86", "87", "8c", "8d", "8e", "8f", "a0", "a1", "a2", "a3", "a8", "a9", "aa", "ab",
    "c1", "c2", "c3", "c9", "ca", "cb", "40", "42", "43", "44", "45", "48", "49", "4a", "4b", "00"};

bool isValidActionCode(std::string_view code);

// The five codes of an action text: slot k takes characters 2k-1 and 2k while the text is long
// enough; the others stay "00". Characters beyond the tenth are ignored. Slots are not checked.
std::array<std::string, kActionSlots> splitActionText(std::string_view text);

// The five codes joined in order.
std::string joinActionSlots(const std::array<std::string, kActionSlots>& codes);

}  // namespace qn470
