// SPDX-License-Identifier: Apache-2.0
#pragma once

// Many trackers provisioned at once from one event loop: one TrackerProvisioner per port, started
// as ports are given or, when watching, as tracker ports appear. A port that disappears is
// forgotten once its tracker is done, so the next tracker plugged into it is provisioned too.
// A finished tracker is released once the receivers of trackerFinished returned, so a station
// that watches all day holds only the trackers still running.

#include <QObject>
#include <QSet>
#include <QTimer>
#include <memory>
#include <vector>

#include "provision/tracker_provisioner.h"
#include "serial/port_discovery.h"

namespace qn470 {

class ProvisionStation : public QObject {
    Q_OBJECT

public:
    // Every tracker gets `request` with its own port.
    ProvisionStation(ProvisionRequest request, PortSource ports, QObject* parent = nullptr);
    ~ProvisionStation() override;

    // Starts a tracker on this port (a name openPort takes); ignored while one runs there. A port
    // whose tracker finished takes a new one (another tracker, or a retry).
    void addPort(const QString& port);
    // The port names of the tracker ports present now.
    QStringList presentTrackerPorts() const { return trackerPorts(m_ports()); }
    // The port names of the tracker ports among `ports`.
    static QStringList trackerPorts(const QList<PortInfo>& ports);
    // Looks for tracker ports every intervalMs and adds the new ones, the present ones first.
    void watch(int intervalMs);
    bool watching() const { return m_watch.isActive(); }
    // Stops watching and every running tracker.
    void stopAll();

    // The trackers held now: those running, and finished ones not yet released.
    std::size_t heldTrackers() const { return m_trackers.size(); }
    bool allFinished() const;

signals:
    void trackerAdded(qn470::TrackerProvisioner* tracker);
    // The tracker is gone after the receivers return: keep its outcome, not the pointer.
    void trackerFinished(qn470::TrackerProvisioner* tracker);
    // Every tracker is done and nothing is being watched for.
    void finished();

private:
    void look();
    void onTrackerFinished(TrackerProvisioner* tracker);
    void release(TrackerProvisioner* tracker);
    bool runningOn(const QString& port) const;

    ProvisionRequest m_request;
    PortSource m_ports;
    QTimer m_watch;
    QSet<QString> m_busyPorts;  // watching: ports with a tracker that has not been unplugged since
    std::vector<std::unique_ptr<TrackerProvisioner>> m_trackers;
};

}  // namespace qn470
