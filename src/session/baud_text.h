// SPDX-License-Identifier: Apache-2.0
#pragma once

// The baud-rate box's text as a number, read the way the C library reads a decimal integer.

#include <QString>

namespace qn470 {

// Only this many characters of the box are looked at.
inline constexpr int kMaxBaudTextLength = 10;

// Leading blanks and one sign are allowed; the number stops at the first other character; a text
// without digits gives 0. Values beyond the 32-bit range are clamped to it. The link refuses a
// rate that is not standard (config/baud_rate.h), as qn470's --baud does.
qint32 parseBaudText(const QString& text);

}  // namespace qn470
