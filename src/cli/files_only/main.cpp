// qn470-files: the file commands of qn470 alone, without Qt, the serial link or the simulator,
// for systems where only the core is built (the Windows cross build).

#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "cli/cli_support.h"
#include "cli/file_commands.h"

namespace {

using qn470::cli::Arguments;

struct Command {
    std::string_view name;
    int (*run)(const Arguments&);
};

constexpr Command kCommands[] = {
    {"defaults", qn470::cli::runDefaults}, {"export", qn470::cli::runExport},
    {"import", qn470::cli::runImport},     {"check", qn470::cli::runCheck},
    {"encode", qn470::cli::runEncode},     {"decode", qn470::cli::runDecode},
    {"bin", qn470::cli::runBin},           {"show", qn470::cli::runShow},
    {"diff", qn470::cli::runDiff},
};

void printHelp(std::ostream& out) {
    out << "usage: qn470-files COMMAND [OPTIONS] ARGS...\n"
           "       qn470-files --help | --version | COMMAND --help\n\ncommands:";
    for (const Command& c : kCommands) {
        out << ' ' << c.name;
    }
    out << "\n\nThe file commands of qn470; the device commands need the full tool.\n";
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Profiles and bin images written to "-" are binary: no LF may become CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
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
        std::cout << "qn470-files 3.0.0\n";
        return qn470::cli::kExitOk;
    }
    const Arguments args(argv + 2, argv + argc);
    for (const Command& c : kCommands) {
        if (c.name == name) {
            return c.run(args);
        }
    }
    return qn470::cli::badInput("unknown command " + std::string(name) +
                                " (qn470-files --help lists them)");
}
