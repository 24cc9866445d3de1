// SPDX-License-Identifier: Apache-2.0
#pragma once

// The entry point both command-line programs share: a table of commands, each one function
// taking the arguments after its name, with --help, --version and the unknown-command error.

#include <ostream>
#include <span>
#include <string_view>

#include "cli/cli_support.h"

namespace qn470::cli {

struct Command {
    std::string_view name;
    int (*run)(const Arguments&);
    std::string_view summary;
};

struct Program {
    std::string_view name;  // as the user types it; --version prints it with the version
    std::span<const Command> commands;
    void (*printHelp)(std::ostream&);
};

// Runs the command argv[1] names; no command prints the help on standard error (bad input).
int runCommand(const Program& program, int argc, char** argv);

}  // namespace qn470::cli
