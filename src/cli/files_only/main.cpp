// SPDX-License-Identifier: Apache-2.0
// qn470-files: the file commands of qn470 alone, without Qt, the serial link or the simulator,
// for systems where only the core is built (the Windows cross build).

#include <iostream>

#include "cli/command_table.h"
#include "cli/file_commands.h"

namespace {

using qn470::cli::Command;

void printHelp(std::ostream& out) {
    out << "usage: qn470-files COMMAND [OPTIONS] ARGS...\n"
           "       qn470-files --help | --version | COMMAND --help\n\ncommands:";
    for (const Command& c : qn470::cli::fileCommands()) {
        out << ' ' << c.name;
    }
    out << "\n\nThe file commands of qn470; the device commands need the full tool.\n";
}

}  // namespace

int main(int argc, char** argv) {
    return qn470::cli::runCommand({"qn470-files", qn470::cli::fileCommands(), printHelp}, argc,
                                  argv);
}
