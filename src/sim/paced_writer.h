// SPDX-License-Identifier: Apache-2.0
#pragma once

// Sends byte pieces through a PseudoTerminal no faster than a serial line would carry them
// (baud / 10 bytes per second: a start bit, eight data bits, a stop bit), or as fast as the
// terminal takes them. Pieces are sent whole and in order; a full terminal is waited for with a
// notifier and the pacing with a timer, never by blocking.

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <deque>

namespace qn470 {

class PseudoTerminal;

class PacedWriter : public QObject {
    Q_OBJECT

public:
    explicit PacedWriter(PseudoTerminal& terminal, QObject* parent = nullptr);

    // 0 sends as fast as the terminal takes the bytes.
    void setBytesPerSecond(int bytesPerSecond);

    // Queues a piece; a line (isLine) is announced with lineWritten once its last byte is out.
    void enqueue(const QByteArray& bytes, bool isLine);
    // Drops whatever is still queued.
    void clear();
    bool idle() const { return m_queue.empty(); }

signals:
    void lineWritten(const QByteArray& bytes);

private:
    struct Piece {
        QByteArray bytes;
        bool isLine = false;
    };

    void pump();
    void refill();

    PseudoTerminal& m_terminal;
    std::deque<Piece> m_queue;
    qsizetype m_offset = 0;  // bytes of the front piece already written
    int m_rate = 0;
    double m_credit = 0;  // bytes that may be written now
    double m_burst = 0;   // most credit kept while idle
    QElapsedTimer m_clock;
    qint64 m_lastRefill = 0;
    QTimer m_timer;
    bool m_pumping = false;
};

}  // namespace qn470
