// SPDX-License-Identifier: Apache-2.0
#pragma once

// The tracker's end of a pseudo-terminal. The other end ("/dev/pts/N") is what a client opens as
// its serial port.
//
// The slave side is put into raw mode and kept open by this object for as long as the terminal
// lives: without that, a client closing its port would leave the master hung up (reads fail at
// once, so a read notifier would fire without end), and the next client would find the terminal
// reset to cooked mode with echo (our own output would come back to us).

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace qn470 {

class PseudoTerminal : public QObject {
    Q_OBJECT

public:
    explicit PseudoTerminal(QObject* parent = nullptr);
    ~PseudoTerminal() override;
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // Opens a new terminal (closing an open one first). False with errorString() on failure.
    bool open();
    // Closes both sides: a client holding the port sees the device vanish. No-op when closed.
    void close();

    bool isOpen() const { return m_master >= 0; }
    QString errorString() const { return m_error; }
    // "/dev/pts/3" and "pts/3" (the name under /dev); empty when closed.
    QString devicePath() const { return m_devicePath; }
    QString portName() const;

    // Writes what the terminal takes now without blocking: the number of bytes taken (0 when
    // it is full), or -1 when the terminal failed.
    qint64 write(const char* data, qint64 size);
    // Emits writable() once, when the terminal can take more bytes.
    void notifyWhenWritable();

signals:
    void dataReceived(const QByteArray& data);
    void writable();

private:
    void onReadable();
    void onWritable();
    bool fail(const char* what);

    int m_master = -1;
    int m_slave = -1;
    QSocketNotifier* m_readNotifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
    QString m_devicePath;
    QString m_error;
};

}  // namespace qn470
