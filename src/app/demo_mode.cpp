// SPDX-License-Identifier: Apache-2.0
#include "app/demo_mode.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "config/default_profile.h"
#include "config/parameter_value.h"

namespace qn470 {
namespace {

// The defaults, with an identity that shows a load really came from tracker `number` (1 on):
// "DEMO-0001", and an IMEI of its own so a journal tells the demo trackers apart. The others
// were set up differently in the field (datalogger interval, GPS on time), as a fleet's are.
ParameterSet demoParameters(int number) {
    ParameterSet set;
    loadDefaultProfile(set);
    char deviceId[16];
    std::snprintf(deviceId, sizeof deviceId, "DEMO-%04d", number);
    writeText(set, "O5", deviceId);
    writeText(set, "O7", "SIM 3.0");
    writeText(set, "B2", "35693208151" + std::to_string(9000 + number));
    if (number > 1) {
        writeNumber(set, "O2", 30 * (number - 1));
        writeNumber(set, "C1", 60 + 60 * (number - 1));
    }
    return set;
}

SimulatorOptions demoOptions() {
    SimulatorOptions options;
    options.fast = true;
    return options;
}

}  // namespace

DemoMode::DemoMode(int trackers) {
    const int count = std::clamp(trackers, 1, kMaxTrackers);
    for (int number = 1; number <= count; ++number) {
        m_simulators.push_back(
            std::make_unique<TrackerSimulator>(demoParameters(number), demoOptions()));
    }
}

DemoMode::~DemoMode() = default;

bool DemoMode::start() {
    for (const std::unique_ptr<TrackerSimulator>& simulator : m_simulators) {
        if (!simulator->start()) {
            m_error = simulator->errorString();
            return false;
        }
    }
    return true;
}

PortSource DemoMode::ports(PortSource system) const {
    std::vector<const TrackerSimulator*> simulators;
    for (const std::unique_ptr<TrackerSimulator>& simulator : m_simulators) {
        simulators.push_back(simulator.get());
    }
    return [simulators, system = std::move(system)] {
        QList<PortInfo> ports = system ? system() : QList<PortInfo>{};
        for (const TrackerSimulator* simulator : simulators) {
            const QString name = simulator->portName();
            if (name.isEmpty()) {
                continue;  // unplugged
            }
            ports.removeIf([&](const PortInfo& port) { return port.portName == name; });
            // Named like a Windows entry, so it reads the same on every system. Not translated:
            // the port list takes only entries whose name says "Prolific".
            ports.append({name, QStringLiteral("Prolific simulator"), QString()});
        }
        return ports;
    };
}

}  // namespace qn470
