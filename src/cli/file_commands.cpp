// SPDX-License-Identifier: Apache-2.0
#include "cli/file_commands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <optional>

#include "cli/report_reader.h"
#include "config/atomic_file.h"
#include "config/bin_image.h"
#include "config/default_profile.h"
#include "config/parameter_table.h"
#include "config/profile.h"
#include "config/report_decoder.h"
#include "config/set_command_encoder.h"
#include "config/stored_form.h"
#include "config/wire_value.h"

namespace qn470::cli {
namespace {

constexpr std::string_view kOutputNote =
    "An OUT named - is standard output: the exact bytes the file would hold.\n";
constexpr std::string_view kSizeNote = "A profile larger than 1 MiB (1048576 bytes) is refused.\n";

constexpr std::string_view kDefaultsUsage =
    "usage: qn470 defaults OUT.pro\n"
    "Writes the built-in default profile to OUT.pro.\n";
constexpr std::string_view kExportUsage =
    "usage: qn470 export IN.pro\n"
    "Prints the profile's clear INI text on standard output.\n";
constexpr std::string_view kImportUsage =
    "usage: qn470 import [--lenient] IN.ini OUT.pro\n"
    "Reads a clear-text INI profile and writes it in the stored (complemented) form. A profile\n"
    "with problems (see qn470 check) is refused, one line per problem on standard error;\n"
    "--lenient imports it as the reader takes it and prints the problems as warnings.\n";
constexpr std::string_view kCheckUsage =
    "usage: qn470 check IN.pro\n"
    "Prints the problems of a profile (stored or clear text), one per line: a value the\n"
    "tracker would not take, a key that is no parameter's or given twice, a line that is not\n"
    "key=value. Exit status: 0 none, 1 some, 2 not a profile or unreadable.\n";
constexpr std::string_view kEncodeUsage =
    "usage: qn470 encode IN.pro\n"
    "Prints the set-command lines of the profile, slots 0 to 74, exactly as they are sent; the\n"
    "profile's problems go to standard error as warnings.\n";
constexpr std::string_view kDecodeUsage =
    "usage: qn470 decode IN.pro OUT.pro [REPORT]\n"
    "Applies every line of REPORT (default or -: standard input) to IN.pro's parameters as the\n"
    "tracker's report and writes OUT.pro; prints the sum of the decoder's results on standard\n"
    "error. The report is read line by line, of any size; a line longer than 65536 characters\n"
    "or a NUL byte refuses it.\n";
constexpr std::string_view kBinUsage =
    "usage: qn470 bin IN.pro OUT.bin\n"
    "Writes the binary image of the profile.\n";
constexpr std::string_view kShowUsage =
    "usage: qn470 show IN.pro [CODE...]\n"
    "Prints the parameters as CODE=value lines, optionally only the named codes.\n";
constexpr std::string_view kDiffUsage =
    "usage: qn470 diff A.pro B.pro\n"
    "Prints one line per parameter that differs (CODE: a -> b); exit status 1 when any does.\n";

// The readable form of a value: media bytes and SJ in hex, other numbers in decimal, texts as
// stored.
std::string readableValue(const ParameterSet& set, const Parameter& p) {
    switch (p.wire) {
        case Wire::Hex2:
        case Wire::Hex4:
            return formatWireValue(set, p);
        case Wire::QText:
            return formatWireValue(set, p, Wire::Text);
        default:
            return formatWireValue(set, p, Wire::None);
    }
}

int usage(std::string_view text, std::string_view note1, std::string_view note2 = {}) {
    return printUsage(std::string(text) + std::string(note1) + std::string(note2));
}

#ifdef _WIN32
// No exec to leak the descriptor into; binary, so a CR or a Ctrl-Z byte comes through as it is.
constexpr int kReportOpenFlags = O_RDONLY | O_BINARY;
#else
constexpr int kReportOpenFlags = O_RDONLY | O_CLOEXEC;
#endif

// The report file given, or standard input; closed on every way out.
class ReportInput {
public:
    ReportInput() = default;
    ReportInput(const ReportInput&) = delete;
    ReportInput& operator=(const ReportInput&) = delete;
    ~ReportInput() {
        if (m_fd > STDERR_FILENO) {
            ::close(m_fd);
        }
    }

    // Opens the file; its error ("<path>: file not found") when that fails. A named pipe is
    // fine: the report is read as a stream.
    std::optional<std::string> open(const std::string& path) {
        m_name = path;
        m_fd = ::open(path.c_str(), kReportOpenFlags);
        if (m_fd < 0) {
            return path + (errno == ENOENT
                               ? std::string(": file not found")
                               : ": cannot open (" + std::string(std::strerror(errno)) + ")");
        }
        struct stat info {};
        if (::fstat(m_fd, &info) == 0 && S_ISDIR(info.st_mode)) {
            return path + ": is a folder, not a file";
        }
        return std::nullopt;
    }

    int fd() const { return m_fd; }
    const std::string& name() const { return m_name; }

private:
    int m_fd = STDIN_FILENO;
    std::string m_name = "standard input";
};

}  // namespace

int runDefaults(const Arguments& args) {
    if (wantsHelp(args)) {
        return usage(kDefaultsUsage, kOutputNote);
    }
    if (!expectCount(args, 1, 1, kDefaultsUsage)) {
        return kExitBadInput;
    }
    ParameterSet set;
    const ReadResult loaded = loadDefaultProfile(set);
    if (!loaded.ok) {
        return badInput(loaded.error);
    }
    return writeOutput(args[0], profileFileBytes(set)) ? kExitOk : kExitBadInput;
}

int runExport(const Arguments& args) {
    if (wantsHelp(args)) {
        return usage(kExportUsage, kSizeNote);
    }
    if (!expectCount(args, 1, 1, kExportUsage)) {
        return kExitBadInput;
    }
    std::string stored;
    if (!readProfileFile(args[0], stored)) {
        return kExitBadInput;
    }
    ParameterSet check;
    const ReadResult parsed = readProfileBytes(stored, check);
    if (!parsed.ok) {
        return badInput(args[0] + ": " + parsed.error);
    }
    writeStdout(profileTextFromStored(stored));
    return kExitOk;
}

int runImport(const Arguments& arguments) {
    if (wantsHelp(arguments)) {
        return usage(kImportUsage, kSizeNote, kOutputNote);
    }
    Arguments args = arguments;
    const bool lenient = takeFlag(args, "--lenient");
    if (!expectCount(args, 2, 2, kImportUsage)) {
        return kExitBadInput;
    }
    std::string text;
    if (!readProfileFile(args[0], text)) {
        return kExitBadInput;
    }
    ParameterSet set;
    const ReadResult parsed = readProfileText(text, set);
    if (!parsed.ok) {
        return badInput(args[0] + ": " + parsed.error);
    }
    // A hand-edited file is where a wrong value enters; once stored it would load silently.
    for (const ProfileProblem& problem : parsed.problems) {
        const std::string line = args[0] + ": " + describeProblem(problem);
        if (lenient) {
            warn(line);
        } else {
            badInput(line);
        }
    }
    if (!parsed.problems.empty() && !lenient) {
        return kExitBadInput;
    }
    return writeOutput(args[1], profileFileBytes(set)) ? kExitOk : kExitBadInput;
}

int runCheck(const Arguments& args) {
    if (wantsHelp(args)) {
        return usage(kCheckUsage, kSizeNote);
    }
    if (!expectCount(args, 1, 1, kCheckUsage)) {
        return kExitBadInput;
    }
    std::string stored;
    if (!readProfileFile(args[0], stored)) {
        return kExitBadInput;
    }
    ParameterSet scratch;
    ReadResult parsed = readProfileBytes(stored, scratch);
    if (!parsed.ok && !isClearText(stored)) {
        // The INI file about to be imported may well start with a comment, not with "[".
        if (ReadResult clear = readProfileText(stored, scratch); clear.ok) {
            parsed = std::move(clear);
        }
    }
    if (!parsed.ok) {
        return badInput(args[0] + ": " + parsed.error);
    }
    std::string out;
    for (const ProfileProblem& problem : parsed.problems) {
        out += describeProblem(problem) + "\n";
    }
    writeStdout(out);
    return parsed.problems.empty() ? kExitOk : kExitDiffers;
}

int runEncode(const Arguments& args) {
    if (wantsHelp(args)) {
        return usage(kEncodeUsage, kSizeNote);
    }
    if (!expectCount(args, 1, 1, kEncodeUsage)) {
        return kExitBadInput;
    }
    ParameterSet set;
    if (!readProfileOrReport(args[0], set, ProfileProblems::Warn)) {
        return kExitBadInput;
    }
    const SetCommandTable table = SetCommandEncoder::encode(set);
    if (!table.overlong.empty()) {
        return badInput(args[0] + ": set lines too long to send: " + table.describeOverlong());
    }
    if (!table.complete()) {
        return badInput(args[0] + ": set lines the tracker would read differently: " +
                        table.describeUnfaithful());
    }
    std::string out;
    for (const LineSlot& slot : table.lines) {
        out += slot.line;
    }
    writeStdout(out);
    return kExitOk;
}

int runDecode(const Arguments& args) {
    if (wantsHelp(args)) {
        return usage(kDecodeUsage, kSizeNote, kOutputNote);
    }
    if (!expectCount(args, 2, 3, kDecodeUsage)) {
        return kExitBadInput;
    }
    ParameterSet set;
    if (!readProfileOrReport(args[0], set)) {
        return kExitBadInput;
    }
    ReportInput report;
    if (args.size() == 3 && args[2] != "-") {
        if (const std::optional<std::string> error = report.open(args[2])) {
            return badInput(*error);
        }
    }
    // Decoded into the set as the lines come; the set is written only when the whole report
    // was read, so a refused report writes nothing.
    const ReportDecoder decoder;
    long long sum = 0;
    const ReportReadResult read = forEachReportLine(
        report.fd(), [&](std::string_view line) { sum += decoder.decode(line, set); });
    if (!read.ok) {
        return badInput(report.name() + ": " + read.error);
    }
    if (!writeOutput(args[1], profileFileBytes(set))) {
        return kExitBadInput;
    }
    std::cerr << sum << '\n';
    return kExitOk;
}

int runBin(const Arguments& args) {
    if (wantsHelp(args)) {
        return usage(kBinUsage, kSizeNote, kOutputNote);
    }
    if (!expectCount(args, 2, 2, kBinUsage)) {
        return kExitBadInput;
    }
    ParameterSet set;
    if (!readProfileOrReport(args[0], set)) {
        return kExitBadInput;
    }
    const BinImage image = binImage(set.record);
    return writeOutput(args[1],
                       std::string_view(reinterpret_cast<const char*>(image.data()), image.size()))
               ? kExitOk
               : kExitBadInput;
}

int runShow(const Arguments& args) {
    if (wantsHelp(args)) {
        return usage(kShowUsage, kSizeNote);
    }
    if (args.empty()) {
        return expectCount(args, 1, 1, kShowUsage) ? kExitOk : kExitBadInput;
    }
    ParameterSet set;
    std::vector<const Parameter*> shown;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const Parameter* p = findParameter(args[i]);
        if (p == nullptr) {
            return badInput("unknown parameter code " + args[i]);
        }
        shown.push_back(p);
    }
    if (!readProfileOrReport(args[0], set)) {
        return kExitBadInput;
    }
    if (shown.empty()) {
        for (std::string_view code : profileKeyOrder()) {
            shown.push_back(&parameter(code));
        }
    }
    std::string out;
    for (const Parameter* p : shown) {
        out += std::string(p->code) + "=" + readableValue(set, *p) + "\n";
    }
    writeStdout(out);
    return kExitOk;
}

int runDiff(const Arguments& args) {
    if (wantsHelp(args)) {
        return usage(kDiffUsage, kSizeNote);
    }
    if (!expectCount(args, 2, 2, kDiffUsage)) {
        return kExitBadInput;
    }
    ParameterSet a;
    ParameterSet b;
    if (!readProfileOrReport(args[0], a) || !readProfileOrReport(args[1], b)) {
        return kExitBadInput;
    }
    std::string out;
    for (std::string_view code : profileKeyOrder()) {
        const Parameter& p = parameter(code);
        const std::string left = readableValue(a, p);
        const std::string right = readableValue(b, p);
        if (left != right) {
            out += std::string(code) + ": " + left + " -> " + right + "\n";
        }
    }
    writeStdout(out);
    return out.empty() ? kExitOk : kExitDiffers;
}

std::span<const Command> fileCommands() {
    static constexpr Command kCommands[] = {
        {"defaults", runDefaults, "write the built-in default profile"},
        {"export", runExport, "print a profile's clear INI text"},
        {"import", runImport, "store a clear-text INI profile as a profile"},
        {"check", runCheck, "list the problems of a profile"},
        {"encode", runEncode, "print the set-command lines of a profile"},
        {"decode", runDecode, "apply a tracker report to a profile"},
        {"bin", runBin, "write the binary image of a profile"},
        {"show", runShow, "print parameters as CODE=value lines"},
        {"diff", runDiff, "list the parameters two profiles differ in"},
    };
    return kCommands;
}

}  // namespace qn470::cli
