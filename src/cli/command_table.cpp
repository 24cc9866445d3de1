// SPDX-License-Identifier: Apache-2.0
#include "cli/command_table.h"

#include <cstdio>
#include <iostream>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "config/version.h"

namespace qn470::cli {

int runCommand(const Program& program, int argc, char** argv) {
#ifdef _WIN32
    // Profiles and bin images written to "-" are binary: no LF may become CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
#endif
    if (argc < 2) {
        program.printHelp(std::cerr);
        return kExitBadInput;
    }
    const std::string_view name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        program.printHelp(std::cout);
        return kExitOk;
    }
    if (name == "--version") {
        std::cout << program.name << ' ' << kVersion << '\n';
        return kExitOk;
    }
    const Arguments args(argv + 2, argv + argc);
    for (const Command& c : program.commands) {
        if (c.name == name) {
            return c.run(args);
        }
    }
    return badInput("unknown command " + std::string(name) + " (" + std::string(program.name) +
                    " --help lists them)");
}

}  // namespace qn470::cli
