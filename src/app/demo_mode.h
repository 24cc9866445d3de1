// SPDX-License-Identifier: Apache-2.0
#pragma once

// Trying the window without a tracker: the built-in simulator runs inside the program on a
// pseudo-terminal, and its entry ("Prolific simulator (pts/3)") joins the port list, so Start,
// "Load from device" and "Save to device" work at once. More than one simulated tracker (each
// with its own IMEI and Device ID) give the Fleet window a bench to provision.
//
//   DemoMode demo;                 // or DemoMode demo(4);
//   if (!demo.start()) { report(demo.errorString()); }
//   DeviceOptions devices{demo.ports(systemPortSource()), DemoMode::kSaveIntervalMs};

#include <QString>
#include <memory>
#include <vector>

#include "serial/port_discovery.h"
#include "sim/tracker_simulator.h"

namespace qn470 {

class DemoMode {
public:
    // The simulator takes a line as fast as it comes, so a save need not wait a second per line.
    static constexpr int kSaveIntervalMs = 50;
    // As many as a bench of USB adapters would hold.
    static constexpr int kMaxTrackers = 8;

    // trackers: 1 to kMaxTrackers.
    explicit DemoMode(int trackers = 1);
    ~DemoMode();

    // Starts every simulated tracker; false at the first that cannot start.
    bool start();
    QString errorString() const { return m_error; }

    // The ports of system plus the simulators', under the simulator's friendly name.
    PortSource ports(PortSource system) const;

    // The first simulated tracker (the one the window connects to in a demo screenshot).
    TrackerSimulator& simulator() { return *m_simulators.front(); }
    const std::vector<std::unique_ptr<TrackerSimulator>>& simulators() const {
        return m_simulators;
    }

private:
    std::vector<std::unique_ptr<TrackerSimulator>> m_simulators;
    QString m_error;
};

}  // namespace qn470
