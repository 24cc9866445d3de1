// SPDX-License-Identifier: Apache-2.0
#include "serial/serial_link.h"

#include "config/baud_rate.h"

namespace qn470 {

CSerialLink::CSerialLink(QObject* parent) : QObject(parent), m_port(this) {
    connect(&m_port, &QSerialPort::readyRead, this, &CSerialLink::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &CSerialLink::onErrorOccurred);
    connect(&m_port, &QSerialPort::bytesWritten, this, &CSerialLink::bytesWritten);
}

CSerialLink::~CSerialLink() {
    // No signals from a half-destroyed link.
    m_port.disconnect(this);
}

QString CSerialLink::systemLocation(const QString& portName) {
#ifdef Q_OS_WIN
    return portName;
#else
    if (portName.startsWith(QLatin1Char('/'))) {
        return portName;
    }
    return QStringLiteral("/dev/") + portName;
#endif
}

bool CSerialLink::open(const QString& portName, qint32 baudRate) {
    close();
    m_portName = portName;
    m_openError = QSerialPort::NoError;
    m_openErrorText.clear();
    if (portName.isEmpty() || !isStandardBaudRate(baudRate)) {
        return false;
    }
    m_opening = true;
    m_port.setPortName(systemLocation(portName));
    bool ok = m_port.setBaudRate(baudRate) && m_port.setDataBits(QSerialPort::Data8) &&
              m_port.setParity(QSerialPort::NoParity) && m_port.setStopBits(QSerialPort::OneStop) &&
              m_port.setFlowControl(QSerialPort::NoFlowControl) &&
              m_port.open(QIODevice::ReadWrite);
    if (ok) {
        // Adapters without modem lines (and pseudo-terminals) refuse these; that is harmless.
        m_port.setDataTerminalReady(false);
        m_port.setRequestToSend(false);
        // Whatever was queued before this open belongs to nobody.
        m_port.clear(QSerialPort::AllDirections);
        m_assembler.reset();
        ++m_generation;
    } else {
        m_openError = m_port.error();
        m_openErrorText = m_port.errorString();
    }
    m_port.clearError();
    m_opening = false;
    return ok;
}

void CSerialLink::close() {
    if (m_port.isOpen()) {
        m_port.close();
        m_port.clearError();
    }
    m_assembler.reset();
    ++m_generation;
}

void CSerialLink::closeAsRemoval() {
    if (!m_port.isOpen()) {
        return;
    }
    close();
    emit deviceLost();
}

bool CSerialLink::write(const QByteArray& data) {
    if (!m_port.isOpen()) {
        m_writeErrorText = QStringLiteral("the port is not open");
        return false;
    }
    const bool queued = m_port.write(data) == data.size();
    if (queued) {
        emit dataQueued(data);
    } else {
        m_writeErrorText = m_port.errorString();
    }
    return queued;
}

void CSerialLink::onReadyRead() {
    const QByteArray data = m_port.readAll();
    const std::vector<std::string> lines = m_assembler.feed(data.constData(), data.size());
    const unsigned generation = m_generation;
    for (const std::string& line : lines) {
        if (generation != m_generation) {
            break;
        }
        handleLine(line);
    }
}

void CSerialLink::handleLine(const std::string& text) {
    const QByteArray line(text.data(), static_cast<qsizetype>(text.size()));
    const bool position = line.contains("$GP");
    if (!position) {
        logLine(line);
    }
    emit lineReceived(line);
    if (position || line.contains("RTC_Counter")) {
        m_normalModeSeen = true;
    }
}

void CSerialLink::logLine(const QByteArray& line) {
    if (++m_loggedLines > kMaxLoggedLines) {
        m_receiveLog.clear();
        m_loggedLines = 1;
        emit receiveLogCleared();
    }
    // Latin-1 maps every byte to one character, so no received byte is lost or merged.
    const QString text = QString::fromLatin1(line) + QStringLiteral("\r\n");
    m_receiveLog += text;
    emit receiveLogAppended(text);
}

void CSerialLink::onErrorOccurred(QSerialPort::SerialPortError error) {
    // A vanished device keeps reporting errors; only the first one on an open link counts.
    if (m_opening || !m_port.isOpen()) {
        return;
    }
    if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError) {
        closeAsRemoval();
    } else if (error == QSerialPort::WriteError) {
        // The port stays usable for the next try; whoever waits for an answer must know now.
        m_writeErrorText = m_port.errorString();
        m_port.clearError();
        emit writeFailed(m_writeErrorText);
    }
}

}  // namespace qn470
