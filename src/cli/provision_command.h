// SPDX-License-Identifier: Apache-2.0
#pragma once

// qn470 provision and qn470 restore: one profile to many trackers at once, each verified and
// journaled; and a tracker put back to what the journal says it held.

#include "cli/cli_support.h"

namespace qn470::cli {

int runProvision(const Arguments& args);
int runRestore(const Arguments& args);

}  // namespace qn470::cli
