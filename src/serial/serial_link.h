// SPDX-License-Identifier: Apache-2.0
#pragma once

// The serial link to the tracker: one instance for the life of the program.
//
//   CSerialLink link;
//   connect(&link, &CSerialLink::lineReceived, decoder, ...);          // every line, no CR LF
//   connect(&link, &CSerialLink::receiveLogAppended, logView, ...);    // "line\r\n" pieces
//   connect(&link, &CSerialLink::receiveLogCleared, logView, ...);     // before the 778th line
//   connect(&link, &CSerialLink::deviceLost, session, ...);            // once per unplug
//   if (link.open("ttyUSB0", 115200)) { link.setConnected(true); link.write("...\r\n"); }
//   link.close(); link.setConnected(false);                            // "Stop"
//
// Opens 8N1 without flow control, DTR and RTS off. Received bytes are cut into lines; for each
// line, in order: lines without "$GP" are appended to the receive log, lineReceived is emitted,
// and "RTC_Counter" or "$GP" sets normalModeSeen (never cleared).
//
// The receive log holds at most 777 lines: the 778th line since the log was last emptied empties
// it (receiveLogCleared) and starts the new log (receiveLogAppended). The log and its line count
// survive close and reopen, so a reconnect continues the same log.
//
// The first read or resource error on an open link closes it as a device removal: `connected`
// stays set (so DeviceWatcher can reopen it) and deviceLost is emitted once; errors after that
// are ignored. A write error leaves the link open and emits writeFailed with the port's reason.
// Everything runs on the owner's thread from the event loop.

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>

#include "serial/line_assembler.h"

namespace qn470 {

class CSerialLink : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxLoggedLines = 777;

    explicit CSerialLink(QObject* parent = nullptr);
    ~CSerialLink() override;

    // Port names without a path ("ttyUSB0", "pts/3") are looked up under /dev; "COM5" is used as
    // it is on Windows. Remembers the name for a later reopen() (names taken from the port list
    // are at most 9 characters, see choosePort). An open link is closed first. Returns false and
    // stays closed when the port cannot be opened or the rate is not a standard one
    // (config/baud_rate.h).
    bool open(const QString& portName, qint32 baudRate);

    // Opens the remembered port name again.
    bool reopen(qint32 baudRate) { return open(m_portName, baudRate); }

    // Closes the port; `connected` is left as it is (the caller owns it).
    void close();

    // Closes an open link because its device went away; emits deviceLost. No-op when closed.
    void closeAsRemoval();

    // Queues all bytes for sending; false when the link is closed or the port refused them
    // (writeErrorText() says why).
    bool write(const QByteArray& data);
    QString writeErrorText() const { return m_writeErrorText; }
    // Bytes queued by write() and not yet handed to the port (closing drops them).
    qint64 bytesToWrite() const { return m_port.isOpen() ? m_port.bytesToWrite() : 0; }

    // Why the last open failed (NoError after a good open or a refused name or rate).
    QSerialPort::SerialPortError openError() const { return m_openError; }
    QString openErrorText() const { return m_openErrorText; }

    bool isOpen() const { return m_port.isOpen(); }
    qint32 baudRate() const { return m_port.baudRate(); }
    QString portName() const { return m_portName; }

    bool connected() const { return m_connected; }
    void setConnected(bool connected) { m_connected = connected; }
    bool trackerPortChosen() const { return m_trackerPortChosen; }
    void setTrackerPortChosen(bool chosen) { m_trackerPortChosen = chosen; }
    bool normalModeSeen() const { return m_normalModeSeen; }

    QString receiveLog() const { return m_receiveLog; }

    // The device path for a port name: "/dev/ttyUSB0" for "ttyUSB0", "COM5" on Windows.
    static QString systemLocation(const QString& portName);

signals:
    void lineReceived(const QByteArray& line);
    void receiveLogAppended(const QString& text);
    void receiveLogCleared();
    void deviceLost();
    // Queued bytes could not be written to the open port; `reason` is the port's.
    void writeFailed(const QString& reason);
    // Some queued bytes went out to the port.
    void bytesWritten();
    // write() queued these bytes (for logs of what was sent).
    void dataQueued(const QByteArray& data);

private:
    void onReadyRead();
    void onErrorOccurred(QSerialPort::SerialPortError error);
    void handleLine(const std::string& line);
    void logLine(const QByteArray& line);

    QSerialPort m_port;
    LineAssembler m_assembler;
    QString m_portName;
    bool m_connected = false;
    bool m_trackerPortChosen = false;
    bool m_normalModeSeen = false;
    QString m_receiveLog;
    int m_loggedLines = 0;
    // Bumped by open and close, so lines of a read stop being delivered once a slot closes the
    // link.
    unsigned m_generation = 0;
    bool m_opening = false;
    QSerialPort::SerialPortError m_openError = QSerialPort::NoError;
    QString m_openErrorText;
    QString m_writeErrorText;
};

}  // namespace qn470
