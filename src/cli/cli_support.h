#pragma once

// Small helpers shared by the qn470 commands: exit statuses, error lines, argument checks and
// reading a profile with an error that names the file.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "config/parameter_set.h"

namespace qn470::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitDiffers = 1;  // also: the device failed
inline constexpr int kExitBadInput = 2;

// Prints "qn470: <message>" on standard error and returns kExitBadInput.
int badInput(std::string_view message);

// The arguments after the command name.
using Arguments = std::vector<std::string>;

// True when the arguments ask for help ("--help" or "-h").
bool wantsHelp(const Arguments& args);

// Prints the command's usage on standard output and returns kExitOk.
int printUsage(std::string_view usage);

// Checks the number of positional arguments; prints the usage on standard error when wrong.
bool expectCount(const Arguments& args, std::size_t min, std::size_t max, std::string_view usage);

// Reads a profile file into set; prints the error and returns false when it is not one.
bool readProfileOrReport(const std::filesystem::path& path, ParameterSet& set);

// Writes bytes to standard output unchanged.
void writeStdout(std::string_view bytes);

}  // namespace qn470::cli
