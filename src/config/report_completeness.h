// SPDX-License-Identifier: Apache-2.0
#pragma once

// Which codes a complete report from the tracker must carry: every code a set line carries, since
// the tool writes them and so a tracker holds and reports them. Codes that are only reported
// (IMEI, IMSI, firmware version, hardware option, C4, E8, and Bk, which no set line carries), and
// the T and U codes that the decoder never stores, are welcome but not required.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "config/parameter_table.h"

namespace qn470 {

const CodeSet& requiredReportCodes();

// The required codes not in `arrived`, in table order.
std::vector<std::string_view> missingReportCodes(const CodeSet& arrived);

// "C1, C2, C3, C5, C7, C8, C9, CA and 20 more": the first `shown` codes and how many follow.
std::string listCodes(const std::vector<std::string_view>& codes, std::size_t shown = 8);

}  // namespace qn470
