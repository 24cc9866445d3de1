// SPDX-License-Identifier: Apache-2.0
#pragma once

// The master side of a pseudo-terminal, for tests that open the slave side through the real
// serial link. Check ok() first; tests skip when no pseudo-terminal can be had.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QString>
#include <cerrno>
#include <cstring>

namespace qn470::test {

class PtyMaster {
public:
    PtyMaster() {
        m_fd = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (m_fd < 0) {
            m_error = QStringLiteral("posix_openpt: ") + QString::fromLocal8Bit(strerror(errno));
            return;
        }
        const char* slave = (grantpt(m_fd) == 0 && unlockpt(m_fd) == 0) ? ptsname(m_fd) : nullptr;
        if (slave == nullptr) {
            m_error = QStringLiteral("no slave name: ") + QString::fromLocal8Bit(strerror(errno));
            closeMaster();
            return;
        }
        m_slavePath = QString::fromLocal8Bit(slave);
    }
    ~PtyMaster() { closeMaster(); }
    PtyMaster(const PtyMaster&) = delete;
    PtyMaster& operator=(const PtyMaster&) = delete;

    bool ok() const { return m_fd >= 0; }
    QString error() const { return m_error; }
    // "pts/3": the name a user would put in parentheses.
    QString portName() const { return m_slavePath.mid(5); }

    // Writes everything, letting the event loop drain the other side while the buffer is full.
    bool write(const QByteArray& data) {
        QDeadlineTimer deadline(5000);
        qsizetype done = 0;
        while (done < data.size()) {
            const ssize_t n = ::write(m_fd, data.constData() + done, data.size() - done);
            if (n > 0) {
                done += n;
            } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
                return false;
            } else if (deadline.hasExpired()) {
                return false;
            } else {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            }
        }
        return true;
    }

    // Whatever the other side has sent so far.
    QByteArray readAvailable() {
        QByteArray data;
        char buffer[512];
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            data.append(buffer, n);
        }
        return data;
    }

    void closeMaster() {
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

private:
    int m_fd = -1;
    QString m_slavePath;
    QString m_error;
};

}  // namespace qn470::test
