// SPDX-License-Identifier: Apache-2.0
#pragma once

// The qn470 commands that talk to a tracker over a serial port, through the same device session
// as the window: ports, send, load and save.

#include "cli/cli_support.h"

namespace qn470::cli {

int runPorts(const Arguments& args);
int runSend(const Arguments& args);
int runLoad(const Arguments& args);
int runSave(const Arguments& args);

}  // namespace qn470::cli
