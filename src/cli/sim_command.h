// SPDX-License-Identifier: Apache-2.0
#pragma once

// qn470 sim: a simulated tracker on a pseudo-terminal.

#include "cli/cli_support.h"

namespace qn470::cli {

// Prints the port name ("pts/3") and the friendly name on standard output, one line each, then
// runs until SIGINT or SIGTERM. Exit status 0, 1 when the dump file cannot be written or no
// pseudo-terminal can be had, 2 for bad options.
int runSim(const Arguments& args);

}  // namespace qn470::cli
