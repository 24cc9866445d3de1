// SPDX-License-Identifier: Apache-2.0
#pragma once

// The qn470 commands that work on files only: profiles, reports and bin images.

#include <span>

#include "cli/cli_support.h"
#include "cli/command_table.h"

namespace qn470::cli {

int runDefaults(const Arguments& args);
int runExport(const Arguments& args);
int runImport(const Arguments& args);
int runCheck(const Arguments& args);
int runEncode(const Arguments& args);
int runDecode(const Arguments& args);
int runBin(const Arguments& args);
int runShow(const Arguments& args);
int runDiff(const Arguments& args);

// The commands above with their one-line summaries, in the order the help lists them.
std::span<const Command> fileCommands();

}  // namespace qn470::cli
