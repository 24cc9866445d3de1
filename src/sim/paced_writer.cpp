// SPDX-License-Identifier: Apache-2.0
#include "sim/paced_writer.h"

#include <algorithm>
#include <cmath>

#include "sim/pseudo_terminal.h"

namespace qn470 {

PacedWriter::PacedWriter(PseudoTerminal& terminal, QObject* parent)
    : QObject(parent), m_terminal(terminal) {
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &PacedWriter::pump);
    connect(&m_terminal, &PseudoTerminal::writable, this, &PacedWriter::pump);
    m_clock.start();
}

void PacedWriter::setBytesPerSecond(int bytesPerSecond) {
    m_rate = std::max(0, bytesPerSecond);
    // Up to 20 ms of line time goes out in one write: few wake-ups, still an even stream.
    m_burst = std::max(1.0, m_rate * 0.02);
    m_credit = m_burst;
    m_lastRefill = m_clock.nsecsElapsed();
}

void PacedWriter::enqueue(const QByteArray& bytes, bool isLine) {
    if (bytes.isEmpty()) {
        return;
    }
    m_queue.push_back({bytes, isLine});
    pump();
}

void PacedWriter::clear() {
    m_queue.clear();
    m_offset = 0;
    m_timer.stop();
}

void PacedWriter::refill() {
    const qint64 now = m_clock.nsecsElapsed();
    m_credit = std::min(m_burst, m_credit + (now - m_lastRefill) * 1e-9 * m_rate);
    m_lastRefill = now;
}

void PacedWriter::pump() {
    // lineWritten handlers may queue more or clear the queue; the running loop picks that up.
    if (m_pumping) {
        return;
    }
    m_pumping = true;
    while (!m_queue.empty() && m_terminal.isOpen()) {
        const Piece& front = m_queue.front();
        qint64 size = front.bytes.size() - m_offset;
        if (m_rate > 0) {
            refill();
            if (m_credit < 1) {
                const double wanted = std::min<double>(static_cast<double>(size), m_burst);
                const double ms = (wanted - m_credit) * 1000.0 / m_rate;
                m_timer.start(std::max(1, static_cast<int>(std::ceil(ms))));
                break;
            }
            size = std::min<qint64>(size, static_cast<qint64>(m_credit));
        }
        const qint64 written = m_terminal.write(front.bytes.constData() + m_offset, size);
        if (written < 0) {
            clear();
            break;
        }
        if (written == 0) {
            m_terminal.notifyWhenWritable();
            break;
        }
        m_credit -= static_cast<double>(written);
        m_offset += written;
        if (m_offset == front.bytes.size()) {
            const Piece done = std::move(m_queue.front());
            m_queue.pop_front();
            m_offset = 0;
            if (done.isLine) {
                emit lineWritten(done.bytes);
            }
        }
    }
    m_pumping = false;
}

}  // namespace qn470
