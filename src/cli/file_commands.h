#pragma once

// The qn470 commands that work on files only: profiles, reports and bin images.

#include "cli/cli_support.h"

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

}  // namespace qn470::cli
