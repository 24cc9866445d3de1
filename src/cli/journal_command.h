// SPDX-License-Identifier: Apache-2.0
#pragma once

// qn470 journal: list, show and export the entries of the journal of loads, saves,
// provisionings and restores.

#include "cli/cli_support.h"

namespace qn470::cli {

int runJournal(const Arguments& args);

}  // namespace qn470::cli
