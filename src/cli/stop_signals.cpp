// SPDX-License-Identifier: Apache-2.0
#include "cli/stop_signals.h"

#include <sys/signalfd.h>
#include <unistd.h>

namespace qn470::cli {

StopSignals::StopSignals() {
    sigemptyset(&m_set);
    sigaddset(&m_set, SIGINT);
    sigaddset(&m_set, SIGTERM);
    if (sigprocmask(SIG_BLOCK, &m_set, &m_previous) == 0) {
        m_blocked = true;
        m_fd = signalfd(-1, &m_set, SFD_NONBLOCK | SFD_CLOEXEC);
    }
}

StopSignals::~StopSignals() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
    if (m_blocked) {
        sigprocmask(SIG_SETMASK, &m_previous, nullptr);
    }
}

void StopSignals::drain() const {
    signalfd_siginfo info;
    while (::read(m_fd, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) {
    }
}

}  // namespace qn470::cli
