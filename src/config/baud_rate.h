// SPDX-License-Identifier: Apache-2.0
#pragma once

// The line rates the tools open a tracker's port at; the window's baud box and qn470's --baud
// follow the same rule.

#include <algorithm>
#include <array>
#include <string>

namespace qn470 {

// What a tracker speaks out of the box.
inline constexpr int kDefaultBaudRate = 115200;

// The rates every adapter and driver offers. Any other number is a typing slip (11520), and a
// port opened at it would only ever receive noise.
inline constexpr std::array<int, 11> kStandardBaudRates = {
    1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};

constexpr bool isStandardBaudRate(long long rate) {
    return std::find(kStandardBaudRates.begin(), kStandardBaudRates.end(), rate) !=
           kStandardBaudRates.end();
}

// "1200, 2400, ..., 921600" for messages.
std::string standardBaudRatesText();

}  // namespace qn470
