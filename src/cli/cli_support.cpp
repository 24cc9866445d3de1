// SPDX-License-Identifier: Apache-2.0
#include "cli/cli_support.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "config/atomic_file.h"
#include "config/baud_rate.h"
#include "config/profile.h"
#include "config/stored_form.h"

namespace qn470::cli {

int badInput(std::string_view message) {
    std::cerr << "qn470: " << message << '\n';
    return kExitBadInput;
}

void warn(std::string_view message) {
    std::cerr << "qn470: warning: " << message << '\n';
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

bool takeFlag(Arguments& args, std::string_view flag) {
    const auto end = std::remove(args.begin(), args.end(), flag);
    const bool found = end != args.end();
    args.erase(end, args.end());
    return found;
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

bool readProfileOrReport(const std::filesystem::path& path, ParameterSet& set,
                         ProfileProblems problems) {
    const ReadResult result = readProfile(path, set);
    if (!result.ok) {
        badInput(result.error);
        return false;
    }
    if (problems == ProfileProblems::Warn) {
        for (const ProfileProblem& problem : result.problems) {
            warn(path.string() + ": " + describeProblem(problem));
        }
    }
    return true;
}

bool readProfileFile(const std::string& path, std::string& stored) {
    const FileResult read = readWholeFile(path, stored, kMaxProfileBytes);
    if (!read.ok) {
        badInput(read.error);
    }
    return read.ok;
}

void writeStdout(std::string_view bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

bool writeOutput(const std::string& name, std::string_view bytes) {
    if (name == kStdoutName) {
        // A closed or full standard output is a failed write like any other.
        errno = 0;
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size() &&
                             std::fflush(stdout) == 0;
        if (!written) {
            badInput(std::string("standard output: write failed") +
                     (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string()));
        }
        return written;
    }
    const FileResult result = writeFileAtomically(name, bytes);
    if (!result.ok) {
        badInput(result.error);
    }
    return result.ok;
}

std::string profileFileBytes(const ParameterSet& set) {
    return complementBytes(profileText(set));
}

std::optional<std::string> scanOptions(const Arguments& args, std::span<const OptionSpec> known,
                                       const OptionTaker& take,
                                       std::vector<std::string>& positional) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg == "--") {
            positional.insert(positional.end(), args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                              args.end());
            break;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            positional.push_back(arg);
            continue;
        }
        std::optional<std::string> value;
        if (const std::size_t equals = arg.find('='); equals != std::string::npos) {
            value = arg.substr(equals + 1);
            arg.resize(equals);
        }
        const auto option = std::find_if(known.begin(), known.end(),
                                         [&](const OptionSpec& o) { return o.name == arg; });
        if (option == known.end()) {
            return "unknown option " + arg;
        }
        if (!option->takesValue && value) {
            return arg + " takes no value";
        }
        if (option->takesValue && !value) {
            if (i + 1 >= args.size()) {
                return arg + " needs a value";
            }
            value = args[++i];
        }
        if (std::optional<std::string> error = take(option->name, value.value_or(std::string()))) {
            return error;
        }
    }
    return std::nullopt;
}

Number parseBounded(std::string_view text, long long min, long long max, long long& out) {
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || at != end ||
        (error != std::errc() && error != std::errc::result_out_of_range)) {
        return Number::NotWhole;
    }
    if (error != std::errc() || value < min || value > max) {
        return Number::OutOfRange;
    }
    out = value;
    return Number::Ok;
}

Number parseBounded(std::string_view text, int min, int max, int& out) {
    long long value = 0;
    const Number read = parseBounded(text, static_cast<long long>(min), max, value);
    if (read == Number::Ok) {
        out = static_cast<int>(value);
    }
    return read;
}

std::optional<std::string> parseMilliseconds(const std::string& option, const std::string& text,
                                             int max, int& out) {
    switch (parseBounded(text, 0, max, out)) {
        case Number::Ok:
            return std::nullopt;
        case Number::NotWhole:
            return option + " " + text + ": not a whole number of milliseconds";
        case Number::OutOfRange:
            break;
    }
    return option + " " + text + ": must be between 0 and " + std::to_string(max);
}

std::optional<std::string> parseBaud(const std::string& text, int& out) {
    int baud = 0;
    if (parseBounded(text, 1, kStandardBaudRates.back(), baud) != Number::Ok ||
        !isStandardBaudRate(baud)) {
        return "--baud " + text + ": not a standard rate (" + standardBaudRatesText() + ")";
    }
    out = baud;
    return std::nullopt;
}

}  // namespace qn470::cli
