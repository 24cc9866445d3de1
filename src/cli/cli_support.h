// SPDX-License-Identifier: Apache-2.0
#pragma once

// Small helpers shared by the qn470 commands: exit statuses, error lines, argument checks,
// reading a profile with an error that names the file, and writing a file or standard output.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/parameter_set.h"

namespace qn470::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitDiffers = 1;  // also: the device failed
inline constexpr int kExitBadInput = 2;

// An output named "-" is standard output.
inline constexpr std::string_view kStdoutName = "-";

// Prints "qn470: <message>" on standard error and returns kExitBadInput.
int badInput(std::string_view message);

// Prints "qn470: warning: <message>" on standard error.
void warn(std::string_view message);

// The arguments after the command name.
using Arguments = std::vector<std::string>;

// True when the arguments ask for help ("--help" or "-h").
bool wantsHelp(const Arguments& args);

// Prints the command's usage on standard output and returns kExitOk.
int printUsage(std::string_view usage);

// Takes every `flag` out of args; true when there was one.
bool takeFlag(Arguments& args, std::string_view flag);

// Checks the number of positional arguments; prints the usage on standard error when wrong.
bool expectCount(const Arguments& args, std::size_t min, std::size_t max, std::string_view usage);

enum class ProfileProblems { Silent, Warn };

// Reads a profile file into set; prints the error and returns false when it is not one. With
// Warn, what the reader took differently or the tracker would not take is printed as warnings.
bool readProfileOrReport(const std::filesystem::path& path, ParameterSet& set,
                         ProfileProblems problems = ProfileProblems::Silent);

// Reads a whole profile file (at most kMaxProfileBytes); prints the error and returns false when
// it cannot.
bool readProfileFile(const std::string& path, std::string& stored);

// Writes bytes to standard output unchanged.
void writeStdout(std::string_view bytes);

// Writes bytes as the whole content of the file `name`, or to standard output for "-"; prints
// the error and returns false when that fails.
bool writeOutput(const std::string& name, std::string_view bytes);

// The bytes of a profile file holding set (complemented INI text).
std::string profileFileBytes(const ParameterSet& set);

// An option a command knows: "--name" alone (a flag) or with a value, as "--name=value" or as
// the next argument.
struct OptionSpec {
    std::string_view name;
    bool takesValue = true;
};

// Receives one option as given ("" for a flag); an error message refuses it.
using OptionTaker =
    std::function<std::optional<std::string>(std::string_view name, const std::string& value)>;

// Walks the arguments: every option must be in `known` and goes to take(); the others (and all
// after "--") are appended to positional. The error names the option and what is wrong.
std::optional<std::string> scanOptions(const Arguments& args, std::span<const OptionSpec> known,
                                       const OptionTaker& take,
                                       std::vector<std::string>& positional);

enum class Number { Ok, NotWhole, OutOfRange };

// Reads the whole text as one decimal number (a sign allowed, no blanks) within [min, max];
// numbers beyond any long long are out of range.
Number parseBounded(std::string_view text, long long min, long long max, long long& out);
Number parseBounded(std::string_view text, int min, int max, int& out);

// A whole number of milliseconds from 0 to max for option; the error names both when not.
std::optional<std::string> parseMilliseconds(const std::string& option, const std::string& text,
                                             int max, int& out);

// A standard line rate (1200 ... 921600) for --baud; the error lists them when not.
std::optional<std::string> parseBaud(const std::string& text, int& out);

}  // namespace qn470::cli
