// SPDX-License-Identifier: Apache-2.0
#pragma once

// The one CSV writer: journal export and the fleet audit. Fields are RFC 4180 fields, quoted by
// libcsv (doubled quotes inside) when they hold a comma or a quote; records end in LF.
//
// What the fields may hold is hostile (a tracker's Device ID, a file name), and the file is made
// to be opened in a spreadsheet, so:
// - control characters are written escaped (shown_text.h): no raw line break, ESC or tab;
// - a field a spreadsheet would evaluate, one starting with '=', '+', '-', '@', a tab or a
//   carriage return, starts with an apostrophe, which makes it text. A plain negative decimal
//   number ("-5", "-12.5") is left alone: a spreadsheet reads it as the number it is, never as a
//   formula, and prefixing it would turn every negative value into text. "+35600" is not left
//   alone: a spreadsheet would drop the plus of a phone number.

#include <string>
#include <string_view>
#include <vector>

namespace qn470 {

std::string csvField(std::string_view text);
// The fields, each through csvField, joined by commas, with the LF that ends the record.
std::string csvRecord(const std::vector<std::string>& fields);

}  // namespace qn470
