// SPDX-License-Identifier: Apache-2.0
// qn470: the command-line tool. Each command is one function taking the arguments after its name.

#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/command_table.h"
#include "cli/device_commands.h"
#include "cli/file_commands.h"
#include "cli/journal_command.h"
#include "cli/provision_command.h"
#include "cli/sim_command.h"

namespace {

using qn470::cli::Command;

constexpr Command kDeviceCommands[] = {
    {"sim", qn470::cli::runSim, "run a simulated tracker on a pseudo-terminal"},
    {"ports", qn470::cli::runPorts, "list the tracker ports by their friendly names"},
    {"send", qn470::cli::runSend, "send a command line to the tracker"},
    {"load", qn470::cli::runLoad, "read the tracker's parameter set into a profile"},
    {"save", qn470::cli::runSave, "write a profile to the tracker"},
    {"provision", qn470::cli::runProvision, "write one profile to many trackers, verified"},
    {"restore", qn470::cli::runRestore, "write back what the journal says a tracker held"},
    {"journal", qn470::cli::runJournal, "list and show what trackers held, from the journal"},
};

// The file commands first, as the help lists them.
const std::vector<Command>& commands() {
    static const std::vector<Command> all = [] {
        std::vector<Command> list(qn470::cli::fileCommands().begin(),
                                  qn470::cli::fileCommands().end());
        list.insert(list.end(), std::begin(kDeviceCommands), std::end(kDeviceCommands));
        return list;
    }();
    return all;
}

void printHelp(std::ostream& out) {
    out << "usage: qn470 COMMAND [OPTIONS] ARGS...\n"
           "       qn470 --help | --version | COMMAND --help\n\ncommands:\n";
    for (const Command& c : commands()) {
        out << "  " << c.name << std::string(10 - c.name.size(), ' ') << c.summary << '\n';
    }
    out << "\nAn output file named - is standard output. Profiles above 1 MiB are refused.\n"
           "exit status: 0 success, 1 differences (diff), problems (check) or device failure,\n"
           "             2 bad input\n";
}

}  // namespace

int main(int argc, char** argv) {
    return qn470::cli::runCommand({"qn470", commands(), printHelp}, argc, argv);
}
