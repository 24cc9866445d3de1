// SPDX-License-Identifier: Apache-2.0
#pragma once

// Profiles are kept on disk with every byte complemented (b XOR 0xFF). A file whose first byte is
// "[" is a profile someone kept in clear text (a stored profile starts with 0xA4, the complement
// of "["); it is read as it is. A UTF-8 byte-order mark in front of the text is dropped.

#include <string>
#include <string_view>

namespace qn470 {

// Every byte complemented; applying it twice gives the input back.
std::string complementBytes(std::string_view bytes);

// True when the stored bytes are clear INI text rather than the complemented form.
bool isClearText(std::string_view stored);

// The INI text of a profile file's content, whichever form it is in.
std::string profileTextFromStored(std::string_view stored);

}  // namespace qn470
