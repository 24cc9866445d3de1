#include "cli/file_commands.h"

#include <iostream>
#include <iterator>

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

constexpr std::string_view kDefaultsUsage =
    "usage: qn470 defaults OUT.pro\n"
    "Writes the built-in default profile to OUT.pro.\n";
constexpr std::string_view kExportUsage =
    "usage: qn470 export IN.pro\n"
    "Prints the profile's clear INI text on standard output.\n";
constexpr std::string_view kImportUsage =
    "usage: qn470 import IN.ini OUT.pro\n"
    "Reads a clear-text INI profile and writes it in the stored (complemented) form.\n";
constexpr std::string_view kEncodeUsage =
    "usage: qn470 encode IN.pro\n"
    "Prints the set-command lines of the profile, slots 0 to 74, exactly as they are sent.\n";
constexpr std::string_view kDecodeUsage =
    "usage: qn470 decode IN.pro OUT.pro [REPORT]\n"
    "Applies every line of REPORT (default: standard input) to IN.pro's parameters as the\n"
    "tracker's report and writes OUT.pro; prints the sum of the decoder's results on standard\n"
    "error.\n";
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

bool writeOrReport(const FileResult& result) {
    if (!result.ok) {
        badInput(result.error);
    }
    return result.ok;
}

// Splits a report into lines at LF, dropping one CR before each LF.
std::vector<std::string_view> reportLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (end != std::string_view::npos && line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace

int runDefaults(const Arguments& args) {
    if (wantsHelp(args)) {
        return printUsage(kDefaultsUsage);
    }
    if (!expectCount(args, 1, 1, kDefaultsUsage)) {
        return kExitBadInput;
    }
    ParameterSet set;
    const ReadResult loaded = loadDefaultProfile(set);
    if (!loaded.ok) {
        return badInput(loaded.error);
    }
    return writeOrReport(writeProfile(set, args[0])) ? kExitOk : kExitBadInput;
}

int runExport(const Arguments& args) {
    if (wantsHelp(args)) {
        return printUsage(kExportUsage);
    }
    if (!expectCount(args, 1, 1, kExportUsage)) {
        return kExitBadInput;
    }
    std::string stored;
    const FileResult read = readWholeFile(args[0], stored);
    if (!read.ok) {
        return badInput(read.error);
    }
    ParameterSet check;
    const ReadResult parsed = readProfileBytes(stored, check);
    if (!parsed.ok) {
        return badInput(args[0] + ": " + parsed.error);
    }
    writeStdout(profileTextFromStored(stored));
    return kExitOk;
}

int runImport(const Arguments& args) {
    if (wantsHelp(args)) {
        return printUsage(kImportUsage);
    }
    if (!expectCount(args, 2, 2, kImportUsage)) {
        return kExitBadInput;
    }
    std::string text;
    const FileResult read = readWholeFile(args[0], text);
    if (!read.ok) {
        return badInput(read.error);
    }
    ParameterSet set;
    const ReadResult parsed = readProfileText(text, set);
    if (!parsed.ok) {
        return badInput(args[0] + ": " + parsed.error);
    }
    return writeOrReport(writeProfile(set, args[1])) ? kExitOk : kExitBadInput;
}

int runEncode(const Arguments& args) {
    if (wantsHelp(args)) {
        return printUsage(kEncodeUsage);
    }
    if (!expectCount(args, 1, 1, kEncodeUsage)) {
        return kExitBadInput;
    }
    ParameterSet set;
    if (!readProfileOrReport(args[0], set)) {
        return kExitBadInput;
    }
    const SetCommandTable table = SetCommandEncoder::encode(set);
    if (!table.complete()) {
        return badInput(args[0] + ": set lines too long to send: " + table.describeOverlong());
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
        return printUsage(kDecodeUsage);
    }
    if (!expectCount(args, 2, 3, kDecodeUsage)) {
        return kExitBadInput;
    }
    ParameterSet set;
    if (!readProfileOrReport(args[0], set)) {
        return kExitBadInput;
    }
    std::string report;
    std::string reportName = "standard input";
    if (args.size() == 3) {
        reportName = args[2];
        const FileResult read = readWholeFile(args[2], report);
        if (!read.ok) {
            return badInput(read.error);
        }
    } else {
        report.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    }
    if (report.find('\0') != std::string::npos) {
        return badInput(reportName + ": not a text report (it holds NUL bytes)");
    }
    const ReportDecoder decoder;
    long sum = 0;
    for (std::string_view line : reportLines(report)) {
        sum += decoder.decode(line, set);
    }
    if (!writeOrReport(writeProfile(set, args[1]))) {
        return kExitBadInput;
    }
    std::cerr << sum << '\n';
    return kExitOk;
}

int runBin(const Arguments& args) {
    if (wantsHelp(args)) {
        return printUsage(kBinUsage);
    }
    if (!expectCount(args, 2, 2, kBinUsage)) {
        return kExitBadInput;
    }
    ParameterSet set;
    if (!readProfileOrReport(args[0], set)) {
        return kExitBadInput;
    }
    return writeOrReport(writeBinFile(set.record, args[1])) ? kExitOk : kExitBadInput;
}

int runShow(const Arguments& args) {
    if (wantsHelp(args)) {
        return printUsage(kShowUsage);
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
        return printUsage(kDiffUsage);
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

}  // namespace qn470::cli
