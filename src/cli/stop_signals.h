// SPDX-License-Identifier: Apache-2.0
#pragma once

// SIGINT and SIGTERM arrive as readable data on a descriptor, so the event loop handles them
// like any other input and no signal handler runs in the middle of anything. Create it before
// the QCoreApplication: signals are blocked then, before Qt starts any thread, so every thread
// inherits the mask.

#include <signal.h>

namespace qn470::cli {

class StopSignals {
public:
    StopSignals();
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // Readable when a stop signal came; -1 when signals cannot be received this way.
    int fd() const { return m_fd; }
    // Reads the pending signals so the descriptor is quiet again.
    void drain() const;

private:
    sigset_t m_set{};
    sigset_t m_previous{};
    bool m_blocked = false;
    int m_fd = -1;
};

}  // namespace qn470::cli
