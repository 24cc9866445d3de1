// SPDX-License-Identifier: Apache-2.0
#pragma once

// How a TrackerSimulator behaves, including its named failure modes.

#include <string>

#include "config/baud_rate.h"

namespace qn470 {

struct SimulatorOptions {
    int baudRate = kDefaultBaudRate;  // paces what it sends at baud / 10 bytes per second
    bool fast = false;                // no pacing: as fast as the pseudo-terminal takes it

    bool silent = false;  // never answers the load command
    int unplugAfterLines =
        0;                   // closes the terminal after this many lines sent or received; 0 never
    bool garbage = false;    // noise, overlong lines, NUL bytes, lone CR / LF between lines
    int dropReportLine = 0;  // leaves out this line (1 = first) of every report; 0 none
    // Takes set lines only as a whole series: held back from the first line (block 0) and
    // applied at the closing line (block 70) when every block came; otherwise dropped. Some
    // firmware does this, so a save of changed lines only must notice and send everything.
    bool fullSeriesOnly = false;
    // A code this firmware does not take from set lines: it keeps its own value, so a save
    // arrives whole and still verifies with a difference. Empty: every code is taken.
    std::string ignoredCode;
    // Lets port lists of other processes name it like a tracker's adapter (simulator_registry.h);
    // `qn470 sim` does, simulators inside a program or a test stay private to it.
    bool announce = false;

    int rtcIntervalMs = 3000;       // "RTC_Counter" lines; 0 none
    int positionIntervalMs = 1000;  // position sentences while data transmission is on
};

}  // namespace qn470
