// SPDX-License-Identifier: Apache-2.0
#include "serial/port_discovery.h"

#include <QDir>
#include <QSerialPortInfo>
#include <algorithm>

#include "serial/simulator_registry.h"

namespace qn470 {

namespace {

QList<PortInfo> presentPorts() {
    QList<PortInfo> ports;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos) {
        ports.append({info.portName(), info.description(), info.manufacturer()});
    }
#ifdef Q_OS_LINUX
    // The system list leaves pseudo-terminals out; the simulator lives on one.
    const QStringList ptys = QDir(QStringLiteral("/dev/pts")).entryList(QDir::System);
    for (const QString& pty : ptys) {
        bool number = false;
        pty.toUInt(&number);
        if (number) {
            const QString name = QStringLiteral("pts/") + pty;
            // Named like a Windows entry, as the window's own demo tracker is.
            ports.append({name,
                          isAnnouncedSimulator(name) ? QStringLiteral("Prolific simulator")
                                                     : QStringLiteral("pseudo-terminal"),
                          {}});
        }
    }
#endif
    return ports;
}

}  // namespace

PortSource systemPortSource() {
    return presentPorts;
}

QString friendlyName(const PortInfo& port, NameStyle style) {
    QStringList parts;
    if (style == NameStyle::Unix && !port.manufacturer.trimmed().isEmpty()) {
        parts.append(port.manufacturer.trimmed());
    }
    if (!port.description.trimmed().isEmpty()) {
        parts.append(port.description.trimmed());
    }
    parts.append(QLatin1Char('(') + port.portName + QLatin1Char(')'));
    return parts.join(QLatin1Char(' '));
}

bool containsMatchWord(const QString& text) {
    return text.contains(QLatin1String("Prolific"), Qt::CaseSensitive) ||
           text.contains(QLatin1String("COM1"), Qt::CaseSensitive);
}

QStringList trackerPortNames(const QList<PortInfo>& ports, NameStyle style) {
    QStringList names;
    for (const PortInfo& port : ports) {
        const QString name = friendlyName(port, style);
        if (containsMatchWord(name)) {
            names.append(name);
        }
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    return names;
}

PortChoice choosePort(const QString& listText) {
    const QString text = listText.left(kMaxPortTextLength);
    PortChoice choice;
    choice.trackerPortChosen = containsMatchWord(text);
    if (!choice.trackerPortChosen) {
        choice.message = QLatin1String(kNotTrackerPortMessage);
        return choice;
    }
    const qsizetype open = text.indexOf(QLatin1Char('('));
    const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char(')'), open + 1);
    const qsizetype length = close - open - 1;
    // A longer name would have to be cut, and a cut name could open some other device.
    if (close < 0 || length <= 0 || length > kMaxPortNameLength) {
        choice.message = QLatin1String(kOpenFailMessage);
        return choice;
    }
    choice.portName = text.mid(open + 1, length);
    choice.ok = true;
    return choice;
}

bool isFriendlyPortName(const QString& text) {
    return text.contains(QLatin1Char('('));
}

}  // namespace qn470
