#include "cli/interrupt_notifier.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>

namespace qn470::cli {
namespace {

volatile std::sig_atomic_t g_writeEnd = -1;

extern "C" void onInterrupt(int) {
    const char byte = 1;
    // Nothing else is safe in a handler; the event loop reads the byte.
    [[maybe_unused]] const ssize_t written = ::write(g_writeEnd, &byte, 1);
}

}  // namespace

InterruptNotifier::InterruptNotifier(QObject* parent) : QObject(parent) {
    if (::pipe(m_pipe) != 0) {
        return;
    }
    ::fcntl(m_pipe[0], F_SETFL, O_NONBLOCK);
    ::fcntl(m_pipe[1], F_SETFL, O_NONBLOCK);
    g_writeEnd = m_pipe[1];
    m_notifier = std::make_unique<QSocketNotifier>(m_pipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(m_pipe[0], bytes, sizeof bytes) > 0) {
        }
        emit interrupted();
    });
    struct sigaction action = {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

InterruptNotifier::~InterruptNotifier() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    g_writeEnd = -1;
    m_notifier.reset();
    for (const int fd : m_pipe) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

}  // namespace qn470::cli
