// SPDX-License-Identifier: Apache-2.0
#pragma once

// Finding the tracker's port and turning the chosen list entry into a port name.
//
//   PortSource source = systemPortSource();             // or a fake in tests
//   QStringList names = trackerPortNames(source());      // for the port list, sorted
//   PortChoice choice = choosePort(comboText);           // at "Start"
//   link.setTrackerPortChosen(choice.trackerPortChosen);
//   if (!choice.ok) { showStatus(choice.message); return; }
//   link.open(choice.portName, baud);
//
// An entry qualifies when its friendly name contains "Prolific" or "COM1" (case-sensitive); the
// port name is the text between the first "(" and the first ")" after it. Typed entries such as
// "Prolific simulator (pts/3)" are accepted the same way.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace qn470 {

inline constexpr const char* kNotTrackerPortMessage = "Not STM serial port!\r\n";
inline constexpr const char* kOpenFailMessage = "serial port is open fail.\r\n";

// Longest port name a chosen entry may carry; the longest list text that is looked at.
inline constexpr int kMaxPortNameLength = 9;
inline constexpr int kMaxPortTextLength = 100;

// One present serial port as the system describes it.
struct PortInfo {
    QString portName;  // "COM5", "ttyUSB0", "pts/3"
    QString description;
    QString manufacturer;
};

using PortSource = std::function<QList<PortInfo>()>;

// The serial ports the system reports now; on Linux pseudo-terminals are included too, so a
// simulator on /dev/pts/N counts as present while it runs.
PortSource systemPortSource();

enum class NameStyle {
    Windows,  // "description (COM5)"
    Unix,     // "manufacturer description (ttyUSB0)"
#ifdef Q_OS_WIN
    Native = Windows
#else
    Native = Unix
#endif
};

QString friendlyName(const PortInfo& port, NameStyle style = NameStyle::Native);

bool containsMatchWord(const QString& text);

// Friendly names of the qualifying ports, sorted.
QStringList trackerPortNames(const QList<PortInfo>& ports, NameStyle style = NameStyle::Native);

struct PortChoice {
    bool trackerPortChosen = false;
    bool ok = false;
    QString portName;  // set when ok
    QString message;   // status text when not ok
};

PortChoice choosePort(const QString& listText);

// A port as a user names it on a command line: a friendly name from a port list (it carries the
// port name in brackets) goes through choosePort; anything else already is a port name.
bool isFriendlyPortName(const QString& text);

}  // namespace qn470
