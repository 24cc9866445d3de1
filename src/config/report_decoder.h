// SPDX-License-Identifier: Apache-2.0
#pragma once

// Applies one report line from the tracker to a ParameterSet. The decoder is tolerant: it ignores
// what it does not know and leaves a field unchanged when its value is out of range. How each code
// is stored comes from the parameter table; nothing here knows an individual field.

#include <string_view>

#include "config/parameter_set.h"
#include "config/parameter_table.h"

namespace qn470 {

class ReportDecoder {
public:
    // What decode() returns; the load flow adds these up to see when the report is complete.
    static constexpr int kNotReport = 0;   // the line does not contain "KXs"
    static constexpr int kBlock = 1;       // a report line
    static constexpr int kLastBlock = 50;  // a report line that carried the last block's code
    // A report is whole once its lines' results add up to this. The last line counts kLastBlock
    // (it carries the code marked endsReport, Z4), every other line 1: a report of 16 to 65 lines
    // first reaches the count at its last line.
    static constexpr int kCompleteCount = 65;

    // Stores every recognised item of line into set. The line itself is never changed. When
    // `arrived` is given, every code the line carries an item for is added to it, whether or not
    // its value was taken.
    int decode(std::string_view line, ParameterSet& set, CodeSet* arrived = nullptr) const;
};

}  // namespace qn470
