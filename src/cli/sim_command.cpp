// SPDX-License-Identifier: Apache-2.0
#include "cli/sim_command.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <iostream>
#include <optional>
#include <string>

#include "cli/stop_signals.h"
#include "config/baud_rate.h"
#include "config/default_profile.h"
#include "config/profile.h"
#include "sim/tracker_simulator.h"

namespace qn470::cli {
namespace {

constexpr std::string_view kUsageHead =
    "usage: qn470 sim [--profile FILE] [--dump FILE] [--fast] [--baud N] [--silent]\n"
    "                 [--unplug-after N] [--garbage] [--drop-line K] [--full-series-only]\n"
    "                 [--rtc-interval-ms N]\n"
    "\n"
    "Runs a simulated tracker on a pseudo-terminal until interrupted. Prints the port name\n"
    "(pts/N) and the friendly name first, one line each. While it runs, port lists (the\n"
    "window's, qn470 ports, qn470 provision --all and --watch) name it like a tracker's\n"
    "adapter; several may run side by side, each on its own pseudo-terminal.\n"
    "\n"
    "  --profile FILE        start from this profile instead of the built-in defaults\n"
    "  --dump FILE           write the parameters held at exit as a profile\n"
    "  --fast                send without pacing at the baud rate\n"
    "  --baud N              line rate for pacing (default ";
constexpr std::string_view kUsageTail =
    ")\n"
    "  --silent              never answer the load command\n"
    "  --unplug-after N      close the port after N lines sent or received\n"
    "  --garbage             mix noise, overlong lines, NUL bytes, lone CR / LF into the output\n"
    "  --drop-line K         leave out line K (1 = first) of every report\n"
    "  --full-series-only    take set lines only as a whole series, block 0 to the closing\n"
    "                        line; a partial series changes nothing\n"
    "  --rtc-interval-ms N   RTC_Counter line interval (default 3000, 0 none)\n";

struct SimArguments {
    SimulatorOptions options;
    std::optional<std::string> profile;
    std::optional<std::string> dump;
};

// Parses the arguments; prints the problem and returns nothing when they are bad.
std::optional<SimArguments> parse(const Arguments& args) {
    SimArguments out;
    out.options.announce = true;  // so port lists and qn470 provision find it
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const std::size_t equals = name.find('=');
            name.starts_with("--") && equals != 0 && equals != std::string::npos) {
            inlineValue = name.substr(equals + 1);
            name.resize(equals);
        }
        const auto takeValue = [&]() -> std::optional<std::string> {
            if (inlineValue) {
                return inlineValue;
            }
            if (i + 1 < args.size()) {
                return args[++i];
            }
            badInput(name + " needs a value");
            return std::nullopt;
        };
        const auto takeNumber = [&](int min, int max) -> std::optional<int> {
            const std::optional<std::string> value = takeValue();
            if (!value) {
                return std::nullopt;
            }
            int n = 0;
            if (parseBounded(*value, min, max, n) != Number::Ok) {
                badInput(name + " needs a whole number from " + std::to_string(min) + " to " +
                         std::to_string(max) + ", not \"" + *value + "\"");
                return std::nullopt;
            }
            return n;
        };
        const auto flag = [&](bool& target) {
            if (inlineValue) {
                badInput(name + " takes no value");
                return false;
            }
            target = true;
            return true;
        };

        std::optional<int> number;
        if (name == "--fast") {
            if (!flag(out.options.fast)) {
                return std::nullopt;
            }
        } else if (name == "--silent") {
            if (!flag(out.options.silent)) {
                return std::nullopt;
            }
        } else if (name == "--garbage") {
            if (!flag(out.options.garbage)) {
                return std::nullopt;
            }
        } else if (name == "--full-series-only") {
            if (!flag(out.options.fullSeriesOnly)) {
                return std::nullopt;
            }
        } else if (name == "--profile" || name == "--dump") {
            std::optional<std::string> value = takeValue();
            if (!value) {
                return std::nullopt;
            }
            if (value->empty()) {
                badInput(name + " needs a file name");
                return std::nullopt;
            }
            (name == "--profile" ? out.profile : out.dump) = std::move(*value);
        } else if (name == "--baud") {
            if (!(number = takeNumber(50, 4000000))) {
                return std::nullopt;
            }
            out.options.baudRate = *number;
        } else if (name == "--unplug-after") {
            if (!(number = takeNumber(1, 1000000000))) {
                return std::nullopt;
            }
            out.options.unplugAfterLines = *number;
        } else if (name == "--drop-line") {
            if (!(number = takeNumber(1, 1000))) {
                return std::nullopt;
            }
            out.options.dropReportLine = *number;
        } else if (name == "--rtc-interval-ms") {
            if (!(number = takeNumber(0, 86400000))) {
                return std::nullopt;
            }
            out.options.rtcIntervalMs = *number;
        } else if (name.starts_with("-")) {
            badInput("unknown option " + name + " (qn470 sim --help lists them)");
            return std::nullopt;
        } else {
            badInput("unexpected argument \"" + name + "\" (qn470 sim takes options only)");
            return std::nullopt;
        }
    }
    return out;
}

}  // namespace

int runSim(const Arguments& args) {
    if (wantsHelp(args)) {
        return printUsage(std::string(kUsageHead) + std::to_string(kDefaultBaudRate) +
                          std::string(kUsageTail));
    }
    const std::optional<SimArguments> parsed = parse(args);
    if (!parsed) {
        return kExitBadInput;
    }

    ParameterSet parameters;
    if (parsed->profile) {
        if (!readProfileOrReport(*parsed->profile, parameters)) {
            return kExitBadInput;
        }
    } else {
        loadDefaultProfile(parameters);
    }

    // Signals are blocked before Qt starts any thread, so every thread inherits the mask.
    const StopSignals stopSignals;
    if (stopSignals.fd() < 0) {
        std::cerr << "qn470: cannot receive stop signals\n";
        return kExitDiffers;
    }
    int argc = 1;
    char programName[] = "qn470";
    char* argv[] = {programName, nullptr};
    const bool ownApplication = QCoreApplication::instance() == nullptr;
    std::optional<QCoreApplication> application;
    if (ownApplication) {
        application.emplace(argc, argv);
    }

    TrackerSimulator simulator(parameters, parsed->options);
    if (!simulator.start()) {
        std::cerr << "qn470: no pseudo-terminal: " << simulator.errorString().toStdString() << '\n';
        return kExitDiffers;
    }
    std::cout << simulator.portName().toStdString() << '\n'
              << simulator.friendlyName().toStdString() << std::endl;

    const QMetaObject::Connection unplugNotice =
        QObject::connect(&simulator, &TrackerSimulator::unplugged,
                         [] { std::cerr << "qn470: simulator unplugged (--unplug-after)\n"; });
    QSocketNotifier stopNotifier(stopSignals.fd(), QSocketNotifier::Read);
    QObject::connect(&stopNotifier, &QSocketNotifier::activated, [&stopSignals] {
        stopSignals.drain();
        QCoreApplication::quit();
    });
    QCoreApplication::exec();
    QObject::disconnect(unplugNotice);
    simulator.unplug();

    if (parsed->dump) {
        const FileResult written = writeProfile(simulator.parameters(), *parsed->dump);
        if (!written.ok) {
            std::cerr << "qn470: " << written.error << '\n';
            return kExitDiffers;
        }
    }
    return kExitOk;
}

}  // namespace qn470::cli
