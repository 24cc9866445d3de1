// SPDX-License-Identifier: Apache-2.0
#include "provision/provision_station.h"

#include <algorithm>

namespace qn470 {

ProvisionStation::ProvisionStation(ProvisionRequest request, PortSource ports, QObject* parent)
    : QObject(parent), m_request(std::move(request)), m_ports(std::move(ports)) {
    connect(&m_watch, &QTimer::timeout, this, &ProvisionStation::look);
}

ProvisionStation::~ProvisionStation() {
    m_watch.stop();
    for (const std::unique_ptr<TrackerProvisioner>& tracker : m_trackers) {
        disconnect(tracker.get(), nullptr, this, nullptr);
    }
}

bool ProvisionStation::runningOn(const QString& port) const {
    return std::any_of(m_trackers.begin(), m_trackers.end(),
                       [&](const std::unique_ptr<TrackerProvisioner>& t) {
                           return t->request().port == port && !t->isFinished();
                       });
}

void ProvisionStation::addPort(const QString& port) {
    if (runningOn(port)) {
        return;
    }
    m_busyPorts.insert(port);
    ProvisionRequest request = m_request;
    request.port = port;
    m_trackers.push_back(std::make_unique<TrackerProvisioner>(std::move(request)));
    TrackerProvisioner* tracker = m_trackers.back().get();
    connect(tracker, &TrackerProvisioner::finished, this,
            [this, tracker] { onTrackerFinished(tracker); });
    emit trackerAdded(tracker);
    tracker->start();
}

QStringList ProvisionStation::trackerPorts(const QList<PortInfo>& present) {
    QStringList ports;
    for (const QString& name : trackerPortNames(present)) {
        const PortChoice choice = choosePort(name);
        if (choice.ok) {
            ports.append(choice.portName);
        }
    }
    return ports;
}

void ProvisionStation::watch(int intervalMs) {
    m_watch.start(intervalMs);
    look();
}

void ProvisionStation::look() {
    const QStringList present = presentTrackerPorts();
    // A tracker that is done and gone frees its port for the next one.
    for (auto it = m_busyPorts.begin(); it != m_busyPorts.end();) {
        it = !runningOn(*it) && !present.contains(*it) ? m_busyPorts.erase(it) : std::next(it);
    }
    // A tracker that is done but still plugged in is not written again.
    for (const QString& port : present) {
        if (!m_busyPorts.contains(port)) {
            addPort(port);
        }
    }
}

void ProvisionStation::stopAll() {
    m_watch.stop();
    // Stopping one may finish the station; work on a snapshot.
    std::vector<TrackerProvisioner*> running;
    for (const std::unique_ptr<TrackerProvisioner>& tracker : m_trackers) {
        if (!tracker->isFinished()) {
            running.push_back(tracker.get());
        }
    }
    for (TrackerProvisioner* tracker : running) {
        tracker->stop();
    }
    if (running.empty()) {
        emit finished();
    }
}

bool ProvisionStation::allFinished() const {
    return std::all_of(
        m_trackers.begin(), m_trackers.end(),
        [](const std::unique_ptr<TrackerProvisioner>& t) { return t->isFinished(); });
}

void ProvisionStation::onTrackerFinished(TrackerProvisioner* tracker) {
    emit trackerFinished(tracker);
    // Not now: the tracker is still inside its own finish().
    QTimer::singleShot(0, this, [this, tracker] { release(tracker); });
    if (!watching() && allFinished()) {
        emit finished();
    }
}

void ProvisionStation::release(TrackerProvisioner* tracker) {
    const auto it = std::find_if(
        m_trackers.begin(), m_trackers.end(),
        [tracker](const std::unique_ptr<TrackerProvisioner>& t) { return t.get() == tracker; });
    if (it != m_trackers.end()) {
        disconnect(tracker, nullptr, this, nullptr);
        m_trackers.erase(it);
    }
}

}  // namespace qn470
