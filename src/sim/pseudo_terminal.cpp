// SPDX-License-Identifier: Apache-2.0
#include "sim/pseudo_terminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <cstring>

namespace qn470 {

PseudoTerminal::PseudoTerminal(QObject* parent) : QObject(parent) {}

PseudoTerminal::~PseudoTerminal() {
    close();
}

QString PseudoTerminal::portName() const {
    static const QString kDev = QStringLiteral("/dev/");
    return m_devicePath.startsWith(kDev) ? m_devicePath.mid(kDev.size()) : m_devicePath;
}

bool PseudoTerminal::fail(const char* what) {
    m_error = QString::fromLatin1(what) + QStringLiteral(": ") +
              QString::fromLocal8Bit(std::strerror(errno));
    close();
    return false;
}

bool PseudoTerminal::open() {
    close();
    m_error.clear();
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0) {
        return fail("posix_openpt");
    }
    ::fcntl(m_master, F_SETFD, FD_CLOEXEC);
    if (::grantpt(m_master) != 0) {
        return fail("grantpt");
    }
    if (::unlockpt(m_master) != 0) {
        return fail("unlockpt");
    }
    char name[128];
    if (::ptsname_r(m_master, name, sizeof name) != 0) {
        return fail("ptsname");
    }
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        return fail("open slave");
    }
    termios settings{};
    if (::tcgetattr(m_slave, &settings) != 0) {
        return fail("tcgetattr");
    }
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&settings, B115200);
    ::cfsetospeed(&settings, B115200);
    if (::tcsetattr(m_slave, TCSANOW, &settings) != 0) {
        return fail("tcsetattr");
    }
    m_devicePath = QString::fromLocal8Bit(name);

    m_readNotifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &PseudoTerminal::onReadable);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &PseudoTerminal::onWritable);
    return true;
}

void PseudoTerminal::close() {
    // Notifiers stop before their descriptor is closed; they are deleted later because close()
    // may run inside one of their own signals.
    for (QSocketNotifier** notifier : {&m_readNotifier, &m_writeNotifier}) {
        if (*notifier != nullptr) {
            (*notifier)->setEnabled(false);
            (*notifier)->deleteLater();
            *notifier = nullptr;
        }
    }
    if (m_slave >= 0) {
        ::close(m_slave);
        m_slave = -1;
    }
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
    m_devicePath.clear();
}

qint64 PseudoTerminal::write(const char* data, qint64 size) {
    if (m_master < 0) {
        return -1;
    }
    for (;;) {
        const ssize_t n = ::write(m_master, data, static_cast<size_t>(size));
        if (n >= 0) {
            return n;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            return 0;
        }
        if (errno != EINTR) {
            return -1;
        }
    }
}

void PseudoTerminal::notifyWhenWritable() {
    if (m_writeNotifier != nullptr) {
        m_writeNotifier->setEnabled(true);
    }
}

void PseudoTerminal::onWritable() {
    if (m_writeNotifier != nullptr) {
        m_writeNotifier->setEnabled(false);
    }
    emit writable();
}

void PseudoTerminal::onReadable() {
    char buffer[512];
    QByteArray data;
    for (;;) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            data.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            break;
        }
        // Hung up or failed: stop listening instead of being woken again and again.
        if (m_readNotifier != nullptr) {
            m_readNotifier->setEnabled(false);
        }
        break;
    }
    if (!data.isEmpty()) {
        emit dataReceived(data);
    }
}

}  // namespace qn470
