// SPDX-License-Identifier: Apache-2.0
#pragma once

// Why a serial port cannot be opened, and what the user can do about it.
//
//   if (!link.open(name, baud)) {
//       PortDiagnosis d = diagnosePort(name, link.openError(), link.openErrorText(),
//                                      systemPortSource()());
//       show(d.text());          // "why" lines, then "what to do" lines
//   }
//   PortDiagnosis now = checkPort(name, ports);   // kind None: this user can open it now
//
// On Linux the answer comes from the system itself: open(2) of the device, its group, the user's
// groups, lock files and the processes holding it (/proc/*/fd). Elsewhere only the serial port
// error is looked at. probePort() gathers those facts; explainPort() turns them into the text, so
// every text can be tested with made-up facts.

#include <QList>
#include <QSerialPort>
#include <QString>
#include <QStringList>

#include "serial/port_discovery.h"

namespace qn470 {

enum class PortProblem { None, NoRights, Busy, Missing, Other };

// A process that has the device open.
struct PortHolder {
    qint64 pid = 0;
    QString command;  // "ModemManager"; empty when unknown
};

// What the system says about a device, as far as this user can see it.
struct PortProbe {
    QString path;            // "/dev/ttyUSB0"
    int openErrno = 0;       // of open(2) O_RDWR|O_NOCTTY|O_NONBLOCK; 0 when it opened
    bool exclusive = false;  // in exclusive use (TIOCEXCL) by whoever holds it
    bool statOk = false;
    uint mode = 0;  // permission bits
    QString owner;
    QString group;  // "dialout"; the number when it has no name
    bool groupIsRoot = false;
    QString user;  // the user running this, "alice"
    bool userIsRoot = false;
    bool inGroupNow = false;     // this login has the group
    bool listedInGroup = false;  // the group database lists the user (maybe since this login)
    QList<PortHolder> holders;   // other processes with the device open
    bool holdersHidden = false;  // some processes' open files could not be looked at
    QString lockFile;            // a lock file held by a running process, when any
    qint64 lockPid = 0;
    QString lockCommand;
};

struct PortDiagnosis {
    PortProblem kind = PortProblem::None;
    QString brief;      // one line for 'qn470 ports --check': "no rights: ..."
    QStringList lines;  // why, then what to do
    QString text() const { return lines.join(QLatin1Char('\n')); }
};

// Where the rule that keeps ModemManager off USB serial adapters is installed.
inline constexpr const char* kModemManagerRulePath =
    "/usr/share/doc/qn470-config/examples/60-qn470-modemmanager.rules";

// Looks at the device of portName ("ttyUSB0", "pts/3", a /dev path). Empty on Windows.
PortProbe probePort(const QString& portName);

// The diagnosis from gathered facts; error and errorText are what the serial port reported
// (NoError when only checking).
PortDiagnosis explainPort(const QString& portName, const PortProbe& probe,
                          QSerialPort::SerialPortError error, const QString& errorText,
                          const QList<PortInfo>& present);

// After a failed open: probes the device and explains.
PortDiagnosis diagnosePort(const QString& portName, QSerialPort::SerialPortError error,
                           const QString& errorText, const QList<PortInfo>& present);

// Whether this user can open the port now, without changing its settings; kind None if so.
PortDiagnosis checkPort(const QString& portName, const QList<PortInfo>& present);

}  // namespace qn470
