// SPDX-License-Identifier: Apache-2.0
#pragma once

// Follows the tracker's adapter being unplugged and plugged in again.
//
//   DeviceWatcher watcher(link, systemPortSource(), [&] { return baudBox.toInt(); });
//   watcher.start();                  // Linux: look at the present ports every second
//   ... nativeEvent(device nodes changed) -> watcher.deviceNodesChanged();   // Windows
//
// Armed only once a tracker port was chosen (CSerialLink::trackerPortChosen). When the link is
// open and its port is no longer among the present ports, the link is closed as a removal
// (deviceLost; `connected` stays set). When the link is closed, `connected` is set and the port is
// present again, it is reopened with the same name and the baud rate the callback gives now.
// Both happen silently; a failed reopen is tried again at the next look.

#include <QObject>
#include <QTimer>
#include <functional>

#include "serial/port_discovery.h"

namespace qn470 {

class CSerialLink;

class DeviceWatcher : public QObject {
    Q_OBJECT

public:
    using BaudSource = std::function<qint32()>;

    static constexpr int kDefaultIntervalMs = 1000;

    DeviceWatcher(CSerialLink& link, PortSource ports, BaudSource baud, QObject* parent = nullptr);

    void start() { m_timer.start(); }
    void stop() { m_timer.stop(); }
    bool isActive() const { return m_timer.isActive(); }
    void setInterval(int milliseconds) { m_timer.setInterval(milliseconds); }
    int interval() const { return m_timer.interval(); }

public slots:
    // One look at the present ports; the timer calls it, and so may the window on a system
    // device-change notification.
    void deviceNodesChanged();

signals:
    // The link was opened again after its device came back.
    void linkReopened();

private:
    bool portPresent() const;

    CSerialLink& m_link;
    PortSource m_ports;
    BaudSource m_baud;
    QTimer m_timer;
};

}  // namespace qn470
