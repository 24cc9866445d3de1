// SPDX-License-Identifier: Apache-2.0
#include "cli/device_commands.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <set>

#include "cli/journal_access.h"
#include "cli/journal_record.h"
#include "config/baud_rate.h"
#include "config/default_profile.h"
#include "config/profile.h"
#include "config/report_completeness.h"
#include "config/series_difference.h"
#include "config/shown_text.h"
#include "serial/port_diagnosis.h"
#include "serial/port_discovery.h"
#include "serial/serial_link.h"
#include "session/code_comparison.h"
#include "session/device_session.h"
#include "session/prompter.h"

namespace qn470::cli {
namespace {

// The rates come from the one list the window follows too.
std::string portHelp() {
    return "PORT is a port name (ttyUSB0, pts/3, COM5, /dev/ttyUSB0) or a friendly name as\n"
           "'qn470 ports' lists it. --baud is a standard rate from " +
           std::to_string(kStandardBaudRates.front()) + " to " +
           std::to_string(kStandardBaudRates.back()) + " (default " +
           std::to_string(kDefaultBaudRate) +
           ").\n"
           "The status lines the window would show, and the progress, go to standard error.\n"
           "Exit status: 0 success, 1 device failure, 2 bad input.\n";
}

constexpr std::string_view kPortsUsage =
    "usage: qn470 ports [--all | --check]\n"
    "Lists the tracker ports by their friendly names, one per line (the names that contain\n"
    "\"Prolific\" or \"COM1\"); --all lists every serial port. --check lists every serial\n"
    "port with whether you can open it now: \"ok\", or why not (no rights, busy, missing) and\n"
    "what to do.\n";
constexpr std::string_view kSendUsage =
    "usage: qn470 send --port PORT [--baud N] [--wait-ms N] TEXT\n"
    "       qn470 send --port PORT [--baud N] [--wait-ms N] --transmission on|off\n"
    "Sends TEXT (at most 127 characters; a longer one is refused) with CR LF, or switches the\n"
    "tracker's serial data transmission, then prints what the tracker sends within --wait-ms\n"
    "(0 to 600000, default 1000).\n";
constexpr std::string_view kLoadUsage =
    "usage: qn470 load --port PORT [--baud N] [--allow-missing] [--journal URL] OUT.pro\n"
    "Reads the tracker's whole parameter set and writes it to OUT.pro (- for standard output),\n"
    "only when the report was complete: every code a set line carries arrived. With\n"
    "--allow-missing a report that reached its count is taken, and the codes it did not carry\n"
    "are printed as a warning. The load is recorded in the journal (see qn470 journal).\n";
constexpr std::string_view kSaveUsage =
    "usage: qn470 save --port PORT [--baud N] [--interval-ms N] [--verify] [--journal URL]\n"
    "                  IN.pro\n"
    "Writes the parameter set of IN.pro to the tracker, one set line per interval (0 to 60000\n"
    "ms, default 1000). The profile's problems are printed as warnings; values the tracker\n"
    "would not take refuse the save before anything is sent (exit status 2). --verify reads\n"
    "the tracker back afterwards and prints every code that differs (CODE: sent -> read);\n"
    "exit status 1 when any does. Settings no set line carries (C4, E8, Bk) are never\n"
    "written and never count; when they differ, a note names them (not writable: Bk).\n"
    "The tracker is read first, so the journal keeps what it held before the save.\n";

constexpr int kDefaultWaitMs = 1000;
// A slower pace helps no tracker; beyond this a typo would stall a save for hours.
constexpr int kMaxIntervalMs = DeviceSession::kMaxSaveIntervalMs;
constexpr int kMaxWaitMs = 600000;
// Tests shorten the wait for a silent tracker through the environment; no user needs an option.
constexpr const char* kLoadIdleVariable = "QN470_LOAD_IDLE_MS";

std::string usageWithPort(std::string_view usage) {
    return std::string(usage) + portHelp();
}

struct Options {
    std::string port;
    qint32 baud = kDefaultBaudRate;
    int intervalMs = DeviceSession::kDefaultSaveIntervalMs;
    int waitMs = kDefaultWaitMs;
    std::optional<bool> transmission;
    bool verify = false;
    bool all = false;
    bool check = false;
    bool allowMissing = false;
    int loadIdleMs = DeviceSession::kLoadIdleTimeoutMs;
    std::string journal;
    std::vector<std::string> positional;
};

// Every option of the tracker commands; each command allows some of them.
constexpr OptionSpec kDeviceOptions[] = {
    {"--port"},          {"--baud"},
    {"--interval-ms"},   {"--wait-ms"},
    {"--transmission"},  {"--journal"},
    {"--verify", false}, {"--all", false},
    {"--check", false},  {"--allow-missing", false},
};

// Reads the options a command allows; the rest are positional. An error names the problem.
std::optional<std::string> parseOptions(const Arguments& args,
                                        const std::set<std::string_view>& allowed,
                                        Options& options) {
    std::vector<OptionSpec> known;
    std::copy_if(std::begin(kDeviceOptions), std::end(kDeviceOptions), std::back_inserter(known),
                 [&](const OptionSpec& o) { return allowed.contains(o.name); });
    const auto take = [&](std::string_view arg,
                          const std::string& value) -> std::optional<std::string> {
        if (arg == "--verify" || arg == "--all" || arg == "--check" || arg == "--allow-missing") {
            bool& flag = arg == "--verify"  ? options.verify
                         : arg == "--all"   ? options.all
                         : arg == "--check" ? options.check
                                            : options.allowMissing;
            flag = true;
        } else if (arg == "--port") {
            if (value.empty()) {
                return "--port needs a port name";
            }
            options.port = value;
        } else if (arg == "--baud") {
            return parseBaud(value, options.baud);
        } else if (arg == "--interval-ms") {
            return parseMilliseconds(std::string(arg), value, kMaxIntervalMs, options.intervalMs);
        } else if (arg == "--wait-ms") {
            return parseMilliseconds(std::string(arg), value, kMaxWaitMs, options.waitMs);
        } else if (arg == "--journal") {
            options.journal = value;
        } else if (arg == "--transmission") {
            if (value != "on" && value != "off") {
                return "--transmission " + value + ": must be on or off";
            }
            options.transmission = value == "on";
        }
        return std::nullopt;
    };
    if (const char* idle = std::getenv(kLoadIdleVariable)) {
        if (std::optional<std::string> error = parseMilliseconds(
                kLoadIdleVariable, idle, DeviceSession::kLoadIdleTimeoutMs, options.loadIdleMs)) {
            return error;
        }
    }
    return scanOptions(args, known, take, options.positional);
}

std::string narrow(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

std::string withoutLineEnd(QString text) {
    while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'))) {
        text.chop(1);
    }
    return narrow(text);
}

// Progress on standard error: a bar redrawn in place on a terminal, otherwise a line at every
// tenth of the way.
class ProgressPrinter {
public:
    ProgressPrinter() : m_terminal(::isatty(STDERR_FILENO) == 1) {}

    void setRange(int maximum) {
        m_maximum = std::max(1, maximum);
        m_lastTenth = -1;
    }

    void setValue(int value) {
        m_value = std::clamp(value, 0, m_maximum);
        if (m_terminal) {
            draw();
            return;
        }
        const int tenth = m_value * 10 / m_maximum;
        if (tenth != m_lastTenth) {
            m_lastTenth = tenth;
            std::cerr << "progress " << m_value << '/' << m_maximum << '\n';
        }
    }

    // Takes the bar off the line before other text is printed.
    void clear() {
        if (m_drawn) {
            std::cerr << '\r' << std::string(kWidth + 16, ' ') << '\r';
            m_drawn = false;
        }
    }

private:
    static constexpr int kWidth = 40;

    void draw() {
        const int filled = m_value * kWidth / m_maximum;
        std::cerr << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
                  << std::string(static_cast<std::size_t>(kWidth - filled), '.') << "] " << m_value
                  << '/' << m_maximum << std::flush;
        m_drawn = true;
    }

    bool m_terminal;
    bool m_drawn = false;
    int m_maximum = 1;
    int m_value = 0;
    int m_lastTenth = -1;
};

// One device command's run: the event loop, the link and the session printing what the window
// would show.
class DeviceRun {
public:
    explicit DeviceRun(ParameterSet& parameters)
        : m_prompter([this](const QString& text) { printLine(narrow(text)); }) {
        if (QCoreApplication::instance() == nullptr) {
            m_app.emplace(m_argc, m_argv);
        }
        m_session.emplace(parameters, m_link, m_prompter);
        m_session->setOpenFailureBox(false);  // printed below "cannot open" instead
        QObject::connect(&*m_session, &DeviceSession::statusChanged,
                         [this](const QString& text) { printLine(withoutLineEnd(text)); });
        QObject::connect(&*m_session, &DeviceSession::progressRangeChanged,
                         [this](int, int maximum) { m_progress.setRange(maximum); });
        QObject::connect(&*m_session, &DeviceSession::progressChanged,
                         [this](int value) { m_progress.setValue(value); });
    }

    ~DeviceRun() {
        m_progress.clear();
        m_session.reset();
        m_link.close();
    }

    DeviceSession& session() { return *m_session; }
    CSerialLink& link() { return m_link; }

    // Opens --port; the exit status when that fails.
    std::optional<int> open(const Options& options) {
        m_session->setIdleTimeout(options.loadIdleMs);
        const QString port = QString::fromLocal8Bit(options.port.c_str());
        bool opened = false;
        if (isFriendlyPortName(port)) {
            opened = m_session->connectDevice(port, QString::number(options.baud));
            if (!opened &&
                m_session->lastConnectFailure() == DeviceSession::ConnectFailure::NotTrackerPort) {
                return badInput("--port " + options.port + ": not a tracker port");
            }
        } else {
            opened = m_session->openPort(port, options.baud);
        }
        if (!opened) {
            std::cerr << "qn470: cannot open " << options.port << " at " << options.baud
                      << " baud\n";
            for (const QString& line : m_session->openDiagnosis().lines) {
                std::cerr << "qn470: " << narrow(line) << '\n';
            }
            return kExitDiffers;
        }
        return std::nullopt;
    }

    // Opens the journal, then --port: a journal that cannot be opened stops the command before
    // the tracker is touched. The exit status when either fails.
    std::optional<int> openJournaled(const Options& options) {
        m_journal = openJournalOrReport(options.journal);
        if (!m_journal) {
            return kExitBadInput;
        }
        return open(options);
    }
    Journal& journal() { return *m_journal; }

    // Runs the operation that start() began until it ends; its success.
    template <typename Start>
    bool runOperation(Start start) {
        bool success = false;
        QEventLoop loop;
        const QMetaObject::Connection finished =
            QObject::connect(&*m_session, &DeviceSession::operationFinished, &loop,
                             [&](DeviceSession::Operation, bool ok) {
                                 success = ok;
                                 loop.quit();
                             });
        if (start()) {
            loop.exec();
        }
        QObject::disconnect(finished);
        m_progress.clear();
        return success;
    }

    // Lets the queued bytes go out and the tracker answer for waitMs, printing what it sends.
    void waitForAnswers(int waitMs) {
        QEventLoop loop;
        bool waited = false;
        const auto maybeQuit = [&] {
            if (!m_link.isOpen() || (waited && m_link.bytesToWrite() == 0)) {
                loop.quit();
            }
        };
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            waited = true;
            maybeQuit();
        });
        QObject::connect(&m_link, &CSerialLink::bytesWritten, &loop, maybeQuit);
        QObject::connect(&m_link, &CSerialLink::deviceLost, &loop, maybeQuit);
        // Every line, position sentences too (the receive log leaves those out).
        QObject::connect(&m_link, &CSerialLink::lineReceived, &loop, [](const QByteArray& line) {
            std::cout.write(line.constData(), line.size()) << '\n' << std::flush;
        });
        timer.start(waitMs);
        loop.exec();
    }

private:
    void printLine(const std::string& line) {
        m_progress.clear();
        std::cerr << line << '\n';
    }

    int m_argc = 1;
    char m_name[6] = "qn470";
    char* m_argv[2] = {m_name, nullptr};
    std::optional<QCoreApplication> m_app;
    ProgressPrinter m_progress;
    TextPrompter m_prompter;
    CSerialLink m_link;
    std::optional<DeviceSession> m_session;
    std::unique_ptr<Journal> m_journal;
};

// Common start of send, load and save: help, options, --port and the positional count.
std::optional<int> prepare(const Arguments& args, std::string_view usage,
                           const std::set<std::string_view>& allowed, std::size_t minPositional,
                           std::size_t maxPositional, Options& options) {
    if (wantsHelp(args)) {
        return printUsage(usageWithPort(usage));
    }
    if (const std::optional<std::string> error = parseOptions(args, allowed, options)) {
        badInput(*error);
        std::cerr << usage;
        return kExitBadInput;
    }
    if (options.port.empty()) {
        badInput("--port is missing");
        std::cerr << usage;
        return kExitBadInput;
    }
    if (options.positional.size() < minPositional || options.positional.size() > maxPositional) {
        badInput(options.positional.size() < minPositional ? "missing argument"
                                                           : "too many arguments");
        std::cerr << usage;
        return kExitBadInput;
    }
    return std::nullopt;
}

ParameterSet defaultParameters() {
    ParameterSet set;
    loadDefaultProfile(set);  // built in
    return set;
}

// A folder that does not exist is found before the tracker is read, not after.
std::optional<int> checkOutputFolder(const std::string& name) {
    if (name == kStdoutName) {
        return std::nullopt;
    }
    const std::filesystem::path path = name;
    const std::filesystem::path folder = path.parent_path();
    std::error_code error;
    if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
        return badInput(path.string() + ": the folder " + folder.string() + " does not exist");
    }
    return std::nullopt;
}

// Every port, as --all lists it, with whether this user can open it now.
void printPortCheck(const QList<PortInfo>& ports) {
    QList<std::pair<QString, QString>> rows;
    for (const PortInfo& port : ports) {
        const PortDiagnosis diagnosis = checkPort(port.portName, ports);
        rows.append({friendlyName(port),
                     diagnosis.kind == PortProblem::None ? QStringLiteral("ok") : diagnosis.brief});
    }
    std::sort(rows.begin(), rows.end());
    for (const auto& [name, verdict] : rows) {
        std::cout << narrow(name) << "  " << narrow(verdict) << '\n';
    }
}

}  // namespace

int runPorts(const Arguments& args) {
    if (wantsHelp(args)) {
        return printUsage(kPortsUsage);
    }
    Options options;
    if (const std::optional<std::string> error =
            parseOptions(args, {"--all", "--check"}, options)) {
        badInput(*error);
        std::cerr << kPortsUsage;
        return kExitBadInput;
    }
    if (!options.positional.empty()) {
        badInput("too many arguments");
        std::cerr << kPortsUsage;
        return kExitBadInput;
    }
    const QList<PortInfo> ports = systemPortSource()();
    if (options.check) {
        printPortCheck(ports);
        return kExitOk;
    }
    QStringList names;
    if (options.all) {
        for (const PortInfo& port : ports) {
            names.append(friendlyName(port));
        }
        names.sort();
    } else {
        names = trackerPortNames(ports);
    }
    for (const QString& name : names) {
        std::cout << narrow(name) << '\n';
    }
    return kExitOk;
}

int runSend(const Arguments& args) {
    Options options;
    if (std::optional<int> exit = prepare(
            args, kSendUsage, {"--port", "--baud", "--wait-ms", "--transmission"}, 0, 1, options)) {
        return *exit;
    }
    if (options.transmission.has_value() == !options.positional.empty()) {
        badInput(options.transmission ? "TEXT and --transmission exclude each other"
                                      : "missing argument");
        std::cerr << kSendUsage;
        return kExitBadInput;
    }
    // Cut, it would be another command, which the tracker might well carry out.
    const QString text =
        options.transmission ? QString() : QString::fromLocal8Bit(options.positional[0].c_str());
    if (text.size() > DeviceSession::kMaxCommandLength) {
        return badInput("TEXT is " + std::to_string(text.size()) + " characters long; at most " +
                        std::to_string(DeviceSession::kMaxCommandLength) + " can be sent");
    }
    ParameterSet parameters = defaultParameters();
    DeviceRun run(parameters);
    if (std::optional<int> exit = run.open(options)) {
        return *exit;
    }
    const bool sent = options.transmission
                          ? run.session().sendTransmissionSwitch(*options.transmission)
                          : run.session().sendCommandLine(text);
    if (!sent) {
        return kExitDiffers;
    }
    run.waitForAnswers(options.waitMs);
    return run.link().isOpen() ? kExitOk : kExitDiffers;
}

int runLoad(const Arguments& args) {
    Options options;
    if (std::optional<int> exit =
            prepare(args, kLoadUsage, {"--port", "--baud", "--allow-missing", "--journal"}, 1, 1,
                    options)) {
        return *exit;
    }
    const std::string& out = options.positional[0];
    if (std::optional<int> exit = checkOutputFolder(out)) {
        return *exit;
    }
    ParameterSet parameters = defaultParameters();
    DeviceRun run(parameters);
    if (std::optional<int> exit = run.openJournaled(options)) {
        return *exit;
    }
    Journal& journal = run.journal();
    DeviceSession& session = run.session();
    session.setRequireAllCodes(!options.allowMissing);
    const QString port = QString::fromLocal8Bit(options.port.c_str());
    using Step = OperationResult::Step;
    if (!run.runOperation([&] { return session.loadFromDevice(); })) {
        recordOrReport(journal, trackerEntry(EntryKind::kLoad, port, nullptr, nullptr,
                                             OperationResult::failed(
                                                 Step::Read, narrow(session.failureReason()))));
        return kExitDiffers;
    }
    if (const std::vector<std::string_view>& missing = session.missingCodes(); !missing.empty()) {
        warn("the report did not carry " + std::to_string(missing.size()) +
             " codes: " + listCodes(missing));
    }
    // A load changes nothing: the tracker held before what it holds after.
    if (!recordOrReport(journal, trackerEntry(EntryKind::kLoad, port, &parameters, &parameters,
                                              OperationResult::ok()))) {
        return kExitDiffers;
    }
    return writeOutput(out, profileFileBytes(parameters)) ? kExitOk : kExitBadInput;
}

int runSave(const Arguments& args) {
    Options options;
    if (std::optional<int> exit = prepare(
            args, kSaveUsage, {"--port", "--baud", "--interval-ms", "--verify", "--journal"}, 1, 1,
            options)) {
        return *exit;
    }
    const std::string& profileName = options.positional[0];
    ParameterSet parameters = defaultParameters();
    std::string profileBytes;
    if (!readProfileOrReport(profileName, parameters, ProfileProblems::Warn) ||
        !readProfileFile(profileName, profileBytes)) {
        return kExitBadInput;
    }
    DeviceRun run(parameters);
    if (std::optional<int> exit = run.openJournaled(options)) {
        return *exit;
    }
    Journal& journal = run.journal();
    DeviceSession& session = run.session();
    session.setSaveInterval(options.intervalMs);
    const QString port = QString::fromLocal8Bit(options.port.c_str());
    using Step = OperationResult::Step;
    const auto record = [&](const ParameterSet* before, const ParameterSet* after,
                            const OperationResult& result, bool written) {
        JournalEntry entry = trackerEntry(EntryKind::kSave, port, before, after, result);
        setProfile(entry, QFileInfo(QString::fromLocal8Bit(profileName.c_str())).fileName(),
                   profileBytes);
        if (written) {
            setBlocksWritten(entry, wholeSeriesBlocks(session.lineTable()));
        }
        return recordOrReport(journal, entry);
    };
    const auto failed = [&](Step step) {
        return OperationResult::failed(step, narrow(session.failureReason()));
    };
    // Refused values are bad input, found before anything is sent, the read below included.
    if (!session.checkSave()) {
        record(nullptr, nullptr, failed(Step::Check), false);
        return kExitBadInput;
    }
    // What the tracker holds goes into the journal before anything overwrites it.
    if (!run.runOperation([&] { return session.readBack(); })) {
        std::cerr << "qn470: the tracker could not be read before the save ("
                  << narrow(session.failureReason()) << "); nothing was sent\n";
        record(nullptr, nullptr, failed(Step::Read), false);
        return kExitDiffers;
    }
    const ParameterSet before = session.readBackSet();
    const ParameterSet sent = session.parameters();
    bool refused = false;
    const bool saved = run.runOperation([&] {
        refused = !session.saveToDevice();
        return !refused;
    });
    if (refused) {
        // Values or lines the tracker would not take; the status names them.
        record(&before, nullptr, failed(Step::Check), false);
        return kExitBadInput;
    }
    if (!saved) {
        record(&before, nullptr, failed(Step::Write), true);
        return kExitDiffers;
    }
    if (!options.verify) {
        return record(&before, nullptr, OperationResult::ok(), true) ? kExitOk : kExitDiffers;
    }
    if (!run.runOperation([&] { return session.readBack(); })) {
        std::cerr << "qn470: the tracker could not be read back ("
                  << narrow(session.failureReason()) << ")\n";
        record(&before, nullptr, failed(Step::Verify), true);
        return kExitDiffers;
    }
    const ParameterSet& held = session.readBackSet();
    const std::vector<CodeDifference> differences =
        differingCodes(sent, held, CodeSelection::SentAndReported);
    std::vector<std::string> differing;
    for (const CodeDifference& d : differences) {
        std::cout << d.code << ": " << escapeControls(d.expected) << " -> "
                  << escapeControls(d.actual) << '\n';
        differing.push_back(d.code);
    }
    if (const std::vector<std::string> notWritable = unwritableDifferences(sent, held);
        !notWritable.empty()) {
        std::string codes;
        for (const std::string& code : notWritable) {
            codes += (codes.empty() ? "" : " ") + code;
        }
        std::cerr << "qn470: not writable: " << codes << '\n';
    }
    const bool recorded = record(
        &before, &held,
        differing.empty() ? OperationResult::ok() : OperationResult::differs(differing), true);
    if (!differences.empty()) {
        std::cerr << "qn470: " << differences.size() << " codes differ on the tracker\n";
        return kExitDiffers;
    }
    return recorded ? kExitOk : kExitDiffers;
}

}  // namespace qn470::cli
