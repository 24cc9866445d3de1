// qn470: the command-line tool. Each command is one function taking the arguments after its name.

#include <cstring>
#include <iostream>
#include <string_view>

#include "cli/cli_support.h"
#include "cli/device_commands.h"
#include "cli/file_commands.h"
#include "cli/journal_command.h"
#include "cli/provision_command.h"
#include "cli/sim_command.h"

namespace {

using qn470::cli::Arguments;

struct Command {
    std::string_view name;
    int (*run)(const Arguments&);
    std::string_view summary;
};

constexpr Command kCommands[] = {
    {"defaults", qn470::cli::runDefaults, "write the built-in default profile"},
    {"export", qn470::cli::runExport, "print a profile's clear INI text"},
    {"import", qn470::cli::runImport, "store a clear-text INI profile as a profile"},
    {"check", qn470::cli::runCheck, "list the problems of a profile"},
    {"encode", qn470::cli::runEncode, "print the set-command lines of a profile"},
    {"decode", qn470::cli::runDecode, "apply a tracker report to a profile"},
    {"bin", qn470::cli::runBin, "write the binary image of a profile"},
    {"show", qn470::cli::runShow, "print parameters as CODE=value lines"},
    {"diff", qn470::cli::runDiff, "list the parameters two profiles differ in"},
    {"sim", qn470::cli::runSim, "run a simulated tracker on a pseudo-terminal"},
    {"ports", qn470::cli::runPorts, "list the tracker ports by their friendly names"},
    {"send", qn470::cli::runSend, "send a command line to the tracker"},
    {"load", qn470::cli::runLoad, "read the tracker's parameter set into a profile"},
    {"save", qn470::cli::runSave, "write a profile to the tracker"},
    {"provision", qn470::cli::runProvision, "write one profile to many trackers, verified"},
    {"restore", qn470::cli::runRestore, "write back what the journal says a tracker held"},
    {"journal", qn470::cli::runJournal, "list and show what trackers held, from the journal"},
};

constexpr std::string_view kVersion = "qn470 3.0.0";

void printHelp(std::ostream& out) {
    out << "usage: qn470 COMMAND [OPTIONS] ARGS...\n"
           "       qn470 --help | --version | COMMAND --help\n\ncommands:\n";
    for (const Command& c : kCommands) {
        out << "  " << c.name << std::string(10 - c.name.size(), ' ') << c.summary << '\n';
    }
    out << "\nAn output file named - is standard output. Profiles above 1 MiB are refused.\n"
           "exit status: 0 success, 1 differences (diff), problems (check) or device failure,\n"
           "             2 bad input\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printHelp(std::cerr);
        return qn470::cli::kExitBadInput;
    }
    const std::string_view name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        printHelp(std::cout);
        return qn470::cli::kExitOk;
    }
    if (name == "--version") {
        std::cout << kVersion << '\n';
        return qn470::cli::kExitOk;
    }
    const Arguments args(argv + 2, argv + argc);
    for (const Command& c : kCommands) {
        if (c.name == name) {
            return c.run(args);
        }
    }
    return qn470::cli::badInput("unknown command " + std::string(name) +
                                " (qn470 --help lists them)");
}
