#include "cli/cli_support.h"

#include <cstdio>
#include <iostream>

#include "config/profile.h"

namespace qn470::cli {

int badInput(std::string_view message) {
    std::cerr << "qn470: " << message << '\n';
    return kExitBadInput;
}

bool wantsHelp(const Arguments& args) {
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            return true;
        }
    }
    return false;
}

int printUsage(std::string_view usage) {
    std::cout << usage;
    return kExitOk;
}

bool expectCount(const Arguments& args, std::size_t min, std::size_t max, std::string_view usage) {
    for (const std::string& arg : args) {
        if (arg.size() > 1 && arg[0] == '-') {
            badInput("unknown option " + arg);
            std::cerr << usage;
            return false;
        }
    }
    if (args.size() < min || args.size() > max) {
        badInput(args.size() < min ? "missing argument" : "too many arguments");
        std::cerr << usage;
        return false;
    }
    return true;
}

bool readProfileOrReport(const std::filesystem::path& path, ParameterSet& set) {
    const ReadResult result = readProfile(path, set);
    if (!result.ok) {
        badInput(result.error);
    }
    return result.ok;
}

void writeStdout(std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

}  // namespace qn470::cli
