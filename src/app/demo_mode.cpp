// SPDX-License-Identifier: Apache-2.0
#include "app/demo_mode.h"

#include <utility>

#include "config/default_profile.h"
#include "config/parameter_value.h"

namespace qn470 {
namespace {

// The defaults, with an identity that shows a load really came from the tracker.
ParameterSet demoParameters() {
    ParameterSet set;
    loadDefaultProfile(set);
    writeText(set, "O5", "DEMO-0001");
    writeText(set, "O7", "SIM 3.0");
    return set;
}

SimulatorOptions demoOptions() {
    SimulatorOptions options;
    options.fast = true;
    return options;
}

}  // namespace

DemoMode::DemoMode() : m_simulator(demoParameters(), demoOptions()) {}

bool DemoMode::start() {
    return m_simulator.start();
}

PortSource DemoMode::ports(PortSource system) const {
    const TrackerSimulator* simulator = &m_simulator;
    return [simulator, system = std::move(system)] {
        QList<PortInfo> ports = system ? system() : QList<PortInfo>{};
        const QString name = simulator->portName();
        if (name.isEmpty()) {
            return ports;  // unplugged
        }
        ports.removeIf([&](const PortInfo& port) { return port.portName == name; });
        // Named like a Windows entry, so it reads the same on every system. Not translated: the
        // port list takes only entries whose name says "Prolific".
        ports.append({name, QStringLiteral("Prolific simulator"), QString()});
        return ports;
    };
}

}  // namespace qn470
