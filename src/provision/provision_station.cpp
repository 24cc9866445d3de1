#include "provision/provision_station.h"

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

void ProvisionStation::addPort(const QString& port) {
    if (m_busyPorts.contains(port)) {
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

QStringList ProvisionStation::presentTrackerPorts() const {
    QStringList ports;
    for (const QString& name : trackerPortNames(m_ports())) {
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
        const bool running = std::any_of(m_trackers.begin(), m_trackers.end(),
                                         [&](const std::unique_ptr<TrackerProvisioner>& t) {
                                             return t->request().port == *it && !t->isFinished();
                                         });
        it = !running && !present.contains(*it) ? m_busyPorts.erase(it) : std::next(it);
    }
    for (const QString& port : present) {
        addPort(port);
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
    if (!watching() && allFinished()) {
        emit finished();
    }
}

}  // namespace qn470
