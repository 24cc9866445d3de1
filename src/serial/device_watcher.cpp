// SPDX-License-Identifier: Apache-2.0
#include "serial/device_watcher.h"

#include <algorithm>
#include <utility>

#include "serial/serial_link.h"

namespace qn470 {

DeviceWatcher::DeviceWatcher(CSerialLink& link, PortSource ports, BaudSource baud, QObject* parent)
    : QObject(parent),
      m_link(link),
      m_ports(std::move(ports)),
      m_baud(std::move(baud)),
      m_timer(this) {
    m_timer.setInterval(kDefaultIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &DeviceWatcher::deviceNodesChanged);
}

bool DeviceWatcher::portPresent() const {
    // Judged by the port name rather than by any qualifying name being present: a PC's own
    // COM1 must not keep an unplugged adapter looking present.
    const QList<PortInfo> ports = m_ports ? m_ports() : QList<PortInfo>{};
    const QString name = m_link.portName();
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity sensitivity = Qt::CaseInsensitive;  // "com5" names COM5 there
#else
    const Qt::CaseSensitivity sensitivity = Qt::CaseSensitive;
#endif
    return std::any_of(ports.begin(), ports.end(), [&](const PortInfo& port) {
        return port.portName.compare(name, sensitivity) == 0;
    });
}

void DeviceWatcher::deviceNodesChanged() {
    if (!m_link.trackerPortChosen()) {
        return;
    }
    if (m_link.isOpen()) {
        if (!portPresent()) {
            m_link.closeAsRemoval();
        }
        return;
    }
    if (m_link.connected() && portPresent()) {
        const qint32 baud = m_baud ? m_baud() : 0;
        if (m_link.reopen(baud)) {
            emit linkReopened();
        }
    }
}

}  // namespace qn470
