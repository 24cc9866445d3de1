// SPDX-License-Identifier: Apache-2.0
#pragma once

// Trying the window without a tracker: the built-in simulator runs inside the program on a
// pseudo-terminal, and its entry ("Prolific simulator (pts/3)") joins the port list, so Start,
// "Load from device" and "Save to device" work at once.
//
//   DemoMode demo;
//   if (!demo.start()) { report(demo.errorString()); }
//   DeviceOptions devices{demo.ports(systemPortSource()), DemoMode::kSaveIntervalMs};

#include <QString>

#include "serial/port_discovery.h"
#include "sim/tracker_simulator.h"

namespace qn470 {

class DemoMode {
public:
    // The simulator takes a line as fast as it comes, so a save need not wait a second per line.
    static constexpr int kSaveIntervalMs = 50;

    DemoMode();

    bool start();
    QString errorString() const { return m_simulator.errorString(); }

    // The ports of system plus the simulator's, under the simulator's friendly name.
    PortSource ports(PortSource system) const;

    TrackerSimulator& simulator() { return m_simulator; }

private:
    TrackerSimulator m_simulator;
};

}  // namespace qn470
