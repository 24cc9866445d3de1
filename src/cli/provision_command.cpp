// SPDX-License-Identifier: Apache-2.0
#include "cli/provision_command.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QSysInfo>
#include <QTimer>
#include <algorithm>
#include <iomanip>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>

#include "cli/cli_support.h"
#include "cli/fleet_input.h"
#include "cli/journal_access.h"
#include "cli/journal_record.h"
#include "cli/stop_signals.h"
#include "config/default_profile.h"
#include "config/parameter_table.h"
#include "config/parameter_value.h"
#include "config/profile.h"
#include "config/value_check.h"
#include "config/wire_value.h"
#include "journal/journal_text.h"
#include "provision/fleet_profiles.h"
#include "provision/provision_station.h"
#include "provision/restore_plan.h"
#include "provision/station_journal.h"
#include "session/code_comparison.h"

namespace qn470::cli {
namespace {

constexpr std::string_view kProvisionUsage =
    "usage: qn470 provision [--port PORT]... [--all] [--watch] [--changed] [--baud N]\n"
    "                       [--interval-ms N] [--journal URL] [--values FLEET.csv]\n"
    "                       [--values-optional] [--keep CODES] PROFILE.pro\n"
    "Writes PROFILE.pro to every tracker named by --port (repeat it), to every tracker port\n"
    "found (--all), or to each tracker as it is plugged in until Ctrl+C (--watch; those present\n"
    "at the start too). All trackers run at once. Each one is read first (its before state),\n"
    "written, read back and compared; --changed writes only the set lines that differ from what\n"
    "the tracker holds (with the first and the closing line), and the whole series once more\n"
    "when that does not verify. Every tracker is recorded in the journal, and one line is\n"
    "printed per tracker: port, IMEI, Device ID, result (ok, differs CODES, failed REASON),\n"
    "time taken. Settings no set line carries (C4, E8, Bk) never count as a difference; when\n"
    "they differ the line notes \"not writable: CODES\".\n"
    "--values FLEET.csv gives each tracker its own values: a table whose first column is imei\n"
    "and whose other columns are codes or profile keys (O5, D1, ...), comma or semicolon\n"
    "separated; a tracker's row is laid over the profile once its IMEI is read, and an empty\n"
    "cell leaves the profile's value. The whole table is checked before any port is opened.\n"
    "A tracker without a row fails and is not written, unless --values-optional. --keep CODES\n"
    "(comma-separated, e.g. O5) writes back each tracker's own value of those codes.\n"
    "Exit status: 0 every tracker verified, 1 any did not (or was stopped), 2 bad input or a\n"
    "journal that cannot be opened.\n";

constexpr std::string_view kRestoreUsage =
    "usage: qn470 restore --port PORT [--entry ID] [--baud N] [--interval-ms N] [--journal URL]\n"
    "Reads the tracker's IMEI, writes back the before state of its newest save or provisioning\n"
    "in the journal (never a load or a restore, so a second restore does not undo the first), or\n"
    "of entry ID, which must belong to the same tracker, and verifies it; recorded as a restore.\n"
    "A tracker that reports no IMEI needs --entry. A tracker that already holds that state is\n"
    "left alone. A Device ID or station other than the entry's is named before writing.\n"
    "Exit status: 0 verified or nothing to do, 1 not verified or no entry for this tracker,\n"
    "2 bad input.\n";

constexpr int kWatchIntervalMs = 500;
constexpr int kTableRedrawMs = 200;

struct ProvisionOptions {
    std::vector<std::string> ports;
    bool all = false;
    bool watch = false;
    bool changed = false;
    int baud = kDefaultBaudRate;
    int intervalMs = DeviceSession::kDefaultSaveIntervalMs;
    std::string journal;
    qint64 entry = 0;
    std::string values;
    bool valuesOptional = false;
    std::optional<std::string> keep;
    std::vector<std::string> positional;
};

constexpr OptionSpec kProvisionOptions[] = {
    {"--port"},           {"--baud"},
    {"--interval-ms"},    {"--journal"},
    {"--all", false},     {"--watch", false},
    {"--changed", false}, {"--values"},
    {"--keep"},           {"--values-optional", false},
};
constexpr OptionSpec kRestoreOptions[] = {
    {"--port"}, {"--baud"}, {"--interval-ms"}, {"--journal"}, {"--entry"},
};

std::optional<std::string> parse(const Arguments& args, bool restore, ProvisionOptions& options) {
    const auto take = [&](std::string_view arg,
                          const std::string& value) -> std::optional<std::string> {
        if (arg == "--all" || arg == "--watch" || arg == "--changed") {
            (arg == "--all"     ? options.all
             : arg == "--watch" ? options.watch
                                : options.changed) = true;
        } else if (arg == "--port") {
            if (value.empty()) {
                return "--port needs a port name";
            }
            options.ports.push_back(value);
        } else if (arg == "--baud") {
            return parseBaud(value, options.baud);
        } else if (arg == "--interval-ms") {
            return parseMilliseconds(std::string(arg), value, DeviceSession::kMaxSaveIntervalMs,
                                     options.intervalMs);
        } else if (arg == "--journal") {
            options.journal = value;
        } else if (arg == "--values") {
            if (value.empty()) {
                return "--values needs a file name";
            }
            options.values = value;
        } else if (arg == "--values-optional") {
            options.valuesOptional = true;
        } else if (arg == "--keep") {
            options.keep = value;
        } else if (arg == "--entry") {
            int id = 0;
            if (parseBounded(value, 1, std::numeric_limits<int>::max(), id) != Number::Ok) {
                return "--entry " + value + ": not a journal entry number";
            }
            options.entry = id;
        }
        return std::nullopt;
    };
    return restore ? scanOptions(args, kRestoreOptions, take, options.positional)
                   : scanOptions(args, kProvisionOptions, take, options.positional);
}

// Everything printed of a tracker, a port or a journal goes through here: a control character
// from a hostile tracker is shown escaped, never sent raw to the terminal.
std::string narrow(const QString& text) {
    return escapeControls(text).toLocal8Bit().toStdString();
}

std::string orDash(const QString& text) {
    return text.isEmpty() ? std::string("-") : narrow(text);
}

std::string joined(const std::vector<std::string>& codes, std::string_view separator) {
    std::string text;
    for (const std::string& code : codes) {
        text += (text.empty() ? "" : std::string(separator)) + code;
    }
    return text;
}

// "pts/3  356000000000001  TRK-1  ok  5.8 s  (not writable: Bk)"
std::string resultLine(const TrackerProvisioner& tracker) {
    const ProvisionOutcome& o = tracker.outcome();
    std::ostringstream line;
    line << narrow(tracker.request().port) << "  " << orDash(o.imei) << "  "
         << orDash(o.deviceIdNow()) << "  " << narrow(o.resultText()) << "  " << std::fixed
         << std::setprecision(1) << static_cast<double>(o.elapsedMs) / 1000.0 << " s";
    if (!o.notWritable.empty()) {
        line << "  (not writable: " << joined(o.notWritable, " ") << ')';
    }
    return line.str();
}

// One row per tracker on standard error, redrawn in place on a terminal; a line per step
// otherwise, so a log shows what happened when.
class LiveTable {
public:
    LiveTable() : m_terminal(::isatty(STDERR_FILENO) == 1 && ::isatty(STDOUT_FILENO) == 1) {
        m_redraw.setSingleShot(true);
        QObject::connect(&m_redraw, &QTimer::timeout, [this] { draw(); });
    }

    void follow(TrackerProvisioner* tracker) {
        m_rows.push_back(tracker);
        QObject::connect(tracker, &TrackerProvisioner::stepChanged,
                         [this, tracker](ProvisionStep s) {
                             if (!m_terminal && s != ProvisionStep::Done) {
                                 std::cerr << narrow(tracker->request().port) << ": "
                                           << narrow(stepName(s)) << '\n';
                             }
                             changed();
                         });
        QObject::connect(tracker, &TrackerProvisioner::progressChanged,
                         [this, tracker](int v, int max) {
                             m_progress[tracker] = {v, max};
                             changed();
                         });
        changed();
    }

    // Prints a finished tracker's line on standard output above the table, and forgets it.
    void printResult(const TrackerProvisioner& tracker) {
        m_rows.erase(std::remove(m_rows.begin(), m_rows.end(), &tracker), m_rows.end());
        m_progress.erase(&tracker);
        erase();
        std::cout << resultLine(tracker) << std::endl;
        changed();
    }

    void erase() {
        if (m_terminal && m_drawn > 0) {
            std::cerr << "\x1b[" << m_drawn << "A\x1b[J" << std::flush;
            m_drawn = 0;
        }
    }

private:
    void changed() {
        if (m_terminal && !m_redraw.isActive()) {
            m_redraw.start(kTableRedrawMs);
        }
    }

    void draw() {
        erase();
        int drawn = 0;
        for (TrackerProvisioner* tracker : m_rows) {
            if (tracker->isFinished()) {
                continue;
            }
            const auto [value, maximum] = m_progress[tracker];
            std::cerr << std::left << std::setw(14) << narrow(tracker->request().port) << ' '
                      << std::setw(16) << orDash(tracker->outcome().imei) << ' ' << std::setw(12)
                      << narrow(stepName(tracker->step())) << ' ' << value << '/'
                      << std::max(1, maximum) << '\n';
            ++drawn;
        }
        std::cerr << std::flush;
        m_drawn = drawn;
    }

    bool m_terminal;
    int m_drawn = 0;
    QTimer m_redraw;
    std::vector<TrackerProvisioner*> m_rows;
    std::map<const TrackerProvisioner*, std::pair<int, int>> m_progress;
};

// The value problems and unfaithful lines that would make every tracker refuse the profile;
// found before any port is opened.
bool profileWritable(const ParameterSet& profile, const std::string& name) {
    if (const std::optional<std::string> problem = profileUnwritable(profile)) {
        badInput(name + ": " + *problem);
        return false;
    }
    return true;
}

// --port arguments as port names, friendly names too ("Prolific simulator (pts/3)", as load and
// save take them); one that names no tracker port is bad input, found before anything is touched.
std::optional<QStringList> portNames(const std::vector<std::string>& arguments) {
    QStringList names;
    for (const std::string& argument : arguments) {
        const QString text = QString::fromLocal8Bit(argument.c_str());
        if (!isFriendlyPortName(text)) {
            names.append(text);
            continue;
        }
        const PortChoice choice = choosePort(text);
        if (!choice.ok) {
            badInput(
                "--port " + argument + ": " +
                (choice.trackerPortChosen ? "no port name in its brackets" : "not a tracker port"));
            return std::nullopt;
        }
        names.append(choice.portName);
    }
    return names;
}

struct StationRun {
    int exitCode = kExitOk;
    int ok = 0;
    int notOk = 0;
    std::vector<std::string> halfWritten;
    bool interrupted = false;
};

// Runs the station until every tracker is done (or Ctrl+C), printing and journaling each one
// (see provision/station_journal.h; `prepare` may give a tracker its own profile).
StationRun runStation(const StopSignals& stop, ProvisionStation& station, Journal& journal,
                      const char* kind, const StationJournal::DescribeProfile& describeProfile,
                      const std::function<void()>& begin,
                      const StationJournal::Prepare& prepare = {}) {
    StationRun run;
    LiveTable table;
    QEventLoop loop;
    QSocketNotifier interrupt(stop.fd(), QSocketNotifier::Read);
    interrupt.setEnabled(stop.fd() >= 0);
    QObject::connect(&interrupt, &QSocketNotifier::activated, &loop, [&] {
        stop.drain();
        run.interrupted = true;
        table.erase();
        std::cerr << "qn470: stopping every tracker\n";
        station.stopAll();
    });
    QObject::connect(&station, &ProvisionStation::trackerAdded, &loop,
                     [&](TrackerProvisioner* tracker) { table.follow(tracker); });
    StationJournal keeper(station, journal, kind, describeProfile, prepare);
    QObject::connect(&keeper, &StationJournal::trackerJournaled, &loop,
                     [&](TrackerProvisioner* tracker, const JournalOutcome& journaled) {
                         const ProvisionOutcome& o = tracker->outcome();
                         table.printResult(*tracker);
                         if (!journaled.kept) {
                             std::cerr << "qn470: " << narrow(tracker->request().port)
                                       << ": the journal did not keep its entry: "
                                       << narrow(journaled.error) << '\n';
                         }
                         if (journaled.verified(o)) {
                             ++run.ok;
                         } else {
                             ++run.notOk;
                         }
                         if (o.halfWritten) {
                             run.halfWritten.push_back(narrow(tracker->request().port));
                         }
                     });
    QObject::connect(&station, &ProvisionStation::finished, &loop, &QEventLoop::quit);
    begin();
    if (!station.allFinished() || station.watching()) {
        loop.exec();
    }
    table.erase();
    if (run.notOk > 0 || (run.interrupted && !run.halfWritten.empty())) {
        run.exitCode = kExitDiffers;
    }
    std::cerr << "qn470: " << run.ok + run.notOk << " trackers: " << run.ok << " verified, "
              << run.notOk << " not\n";
    if (!run.halfWritten.empty()) {
        std::cerr << "qn470: left half-written: " << joined(run.halfWritten, ", ") << '\n';
    }
    return run;
}

// What provision and restore need before a tracker is touched: stop signals blocked before Qt
// starts any thread, the application, and the journal, whose failure to open ends the command.
struct StationSetup {
    const StopSignals stop;
    std::optional<QCoreApplication> app;
    std::unique_ptr<Journal> journal;

    bool open(const std::string& journalLocation) {
        static int argc = 1;
        static char name[] = "qn470";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) {
            app.emplace(argc, argv);
        }
        journal = openJournalOrReport(journalLocation);
        return journal != nullptr;
    }
};

}  // namespace

int runProvision(const Arguments& args) {
    if (wantsHelp(args)) {
        return printUsage(kProvisionUsage);
    }
    ProvisionOptions options;
    if (const std::optional<std::string> error = parse(args, false, options)) {
        badInput(*error);
        std::cerr << kProvisionUsage;
        return kExitBadInput;
    }
    if (options.positional.size() != 1) {
        badInput(options.positional.empty() ? "missing argument" : "too many arguments");
        std::cerr << kProvisionUsage;
        return kExitBadInput;
    }
    if (options.ports.empty() && !options.all && !options.watch) {
        badInput("name the trackers: --port PORT, --all or --watch");
        std::cerr << kProvisionUsage;
        return kExitBadInput;
    }
    const std::string& profileName = options.positional[0];
    ParameterSet profile;
    loadDefaultProfile(profile);
    if (!readProfileOrReport(profileName, profile, ProfileProblems::Warn) ||
        !profileWritable(profile, profileName)) {
        return kExitBadInput;
    }
    std::string profileBytes;
    if (!readProfileFile(profileName, profileBytes)) {
        return kExitBadInput;
    }
    if (options.valuesOptional && options.values.empty()) {
        badInput("--values-optional needs --values");
        std::cerr << kProvisionUsage;
        return kExitBadInput;
    }
    // Every problem of the table, before any port is opened.
    std::optional<FleetInput> fleetInput =
        fleetInputOrReport(options.values, options.keep, profile);
    if (!fleetInput) {
        return kExitBadInput;
    }
    const std::optional<QStringList> ports = portNames(options.ports);
    if (!ports) {
        return kExitBadInput;
    }
    // Before any tracker is touched: a provisioning nobody can look up later is not wanted.
    StationSetup setup;
    if (!setup.open(options.journal)) {
        return kExitBadInput;
    }
    Journal& journal = *setup.journal;
    ProvisionRequest request;
    request.baud = options.baud;
    request.intervalMs = options.intervalMs;
    request.changedOnly = options.changed;
    request.profile = profile;
    ProvisionStation station(request, systemPortSource());
    const QString name = QFileInfo(QString::fromLocal8Bit(profileName.c_str())).fileName();
    bool nothingFound = false;
    FleetProfiles profiles(profile, name, profileBytes, *fleetInput, options.valuesOptional);
    QObject::connect(&station, &ProvisionStation::trackerAdded, [&](TrackerProvisioner* tracker) {
        if (profiles.trackerAdded(*tracker)) {
            // Before the second is written.
            std::cerr << "qn470: warning: every tracker gets the Device ID "
                      << narrow(profiles.sharedDeviceId()) << " of " << narrow(name)
                      << "; --keep O5 keeps each one's own, an O5 column in --values gives each "
                         "its own\n";
        }
    });
    const StationRun run = runStation(
        setup.stop, station, journal, EntryKind::kProvision, profiles.describer(),
        [&] {
            for (const QString& port : *ports) {
                station.addPort(port);
            }
            if (options.all) {
                const QStringList present = station.presentTrackerPorts();
                nothingFound = present.isEmpty() && options.ports.empty();
                for (const QString& port : present) {
                    station.addPort(port);
                }
            }
            if (options.watch) {
                std::cerr << "qn470: waiting for trackers; Ctrl+C ends\n";
                station.watch(kWatchIntervalMs);
            }
        },
        profiles.preparer());
    if (nothingFound) {
        std::cerr << "qn470: no tracker port found (qn470 ports --check lists every port)\n";
        return kExitDiffers;
    }
    return run.exitCode;
}

int runRestore(const Arguments& args) {
    if (wantsHelp(args)) {
        return printUsage(kRestoreUsage);
    }
    ProvisionOptions options;
    if (const std::optional<std::string> error = parse(args, true, options)) {
        badInput(*error);
        std::cerr << kRestoreUsage;
        return kExitBadInput;
    }
    if (options.ports.size() != 1 || !options.positional.empty()) {
        badInput(options.ports.empty()      ? "--port is missing"
                 : options.ports.size() > 1 ? "restore takes one --port"
                                            : "too many arguments");
        std::cerr << kRestoreUsage;
        return kExitBadInput;
    }
    const std::optional<QStringList> ports = portNames(options.ports);
    if (!ports) {
        return kExitBadInput;
    }
    StationSetup setup;
    if (!setup.open(options.journal)) {
        return kExitBadInput;
    }
    Journal& journal = *setup.journal;
    // Printed as the CLI's own lines: exit 2 for an entry or journal that cannot be used, 1 when
    // no entry is this tracker's.
    const auto refused = [](const RestorePlan& plan) {
        if (plan.decision == RestoreDecision::WrongInput) {
            return badInput(plan.refusal.toLocal8Bit().toStdString());
        }
        std::cerr << "qn470: " << plan.refusal.toLocal8Bit().toStdString()
                  << (plan.imeiMissing
                          ? "; name one with --entry ID (qn470 journal list shows them)"
                          : "")
                  << '\n';
        return kExitDiffers;
    };
    RestorePlan plan = restoreEntry(journal, options.entry);
    if (plan.refused()) {
        return refused(plan);
    }
    // The tracker's IMEI decides which entry is written back; read it first.
    ProvisionRequest identify;
    identify.port = ports->front();
    identify.baud = options.baud;
    loadDefaultProfile(identify.profile);
    ParameterSet held;
    {
        TrackerProvisioner reader(identify);
        QEventLoop loop;
        QObject::connect(&reader, &TrackerProvisioner::identified, &loop, [&] {
            held = *reader.outcome().before;
            reader.stop();
        });
        QObject::connect(&reader, &TrackerProvisioner::finished, &loop, &QEventLoop::quit);
        reader.start();
        if (!reader.isFinished()) {
            loop.exec();
        }
        if (!reader.outcome().before) {
            std::cerr << "qn470: " << narrow(identify.port) << ": "
                      << narrow(reader.outcome().resultText()) << '\n';
            return kExitDiffers;
        }
    }
    const std::string port = narrow(identify.port);
    plan = planRestore(journal, std::move(plan), held, identify.port, QSysInfo::machineHostName());
    if (plan.refused()) {
        return refused(plan);
    }
    const std::string entryName = plan.entryName.toLocal8Bit().toStdString();
    if (plan.decision == RestoreDecision::AlreadyHolds) {
        std::cout << "qn470: the tracker on " << port << " already holds the before state of "
                  << entryName << "; nothing written\n";
        return kExitOk;
    }
    // Said before anything is written, so a wrong pick can still be stopped with Ctrl+C.
    for (const QString& note : plan.notes) {
        std::cerr << "qn470: note: " << note.toLocal8Bit().toStdString() << '\n';
    }
    std::cerr << "qn470: writing back the before state of " << entryName << '\n';
    ProvisionRequest request = identify;
    request.intervalMs = options.intervalMs;
    request.profile = plan.target;
    ProvisionStation station(request, systemPortSource());
    const StationRun run = runStation(
        setup.stop, station, journal, EntryKind::kRestore,
        [&](const TrackerProvisioner&, JournalEntry& entry) {
            setProfile(entry, plan.profileName, plan.stored);
        },
        [&] { station.addPort(identify.port); });
    return run.exitCode;
}

}  // namespace qn470::cli
