#pragma once

// Ctrl+C (SIGINT) and SIGTERM as a Qt signal, so a command running an event loop can stop its
// work cleanly instead of dying with half-written trackers nobody hears about.

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace qn470::cli {

class InterruptNotifier : public QObject {
    Q_OBJECT

public:
    // Only one may exist at a time: the handlers write into its pipe.
    explicit InterruptNotifier(QObject* parent = nullptr);
    // Puts the default handlers back.
    ~InterruptNotifier() override;

signals:
    void interrupted();

private:
    int m_pipe[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> m_notifier;
};

}  // namespace qn470::cli
