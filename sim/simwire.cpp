// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/simwire.h"
#include "core/link/waitscale.h"
#include "sim/virtualradio.h"

Pacer::Pacer(QObject* parent) : QObject(parent) {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Pacer::tick);
}

void Pacer::push(const QByteArray& bytes, Clock::time_point start) {
    if (bytes.isEmpty()) return;
    if (m_queue.isEmpty()) {
        m_since = m_baud > 0 ? std::max(start, lastArrival()) : start;
        m_sent = 0;
    }
    m_queue.append(bytes);
    if (m_baud > 0) tick();
    if (!m_queue.isEmpty() && !m_timer.isActive()) m_timer.start(m_baud > 0 ? 1 : 0);
}

qint64 Pacer::bitsPerSecond() const {
    // A line as fast as the link's waits are short keeps its replies as early or late against
    // them as at the real speed.
    return qint64(m_baud) * WaitScale::divisor();
}

Pacer::Clock::time_point Pacer::lastArrival() const {
    if (m_baud <= 0) return Clock::now(); // unpaced bytes arrive as they are delivered
    return m_since + std::chrono::nanoseconds(m_sent * 10 * 1000000000 / bitsPerSecond());
}

void Pacer::clear() {
    m_queue.clear();
    m_timer.stop();
}

void Pacer::deliverDue() {
    if (!m_queue.isEmpty()) tick();
}

void Pacer::tick() {
    qint64 due = m_queue.size();
    if (m_baud > 0) {
        // The timer ticks every millisecond; rounding to the nearest byte keeps the average
        // arrival on time instead of up to a tick late.
        const qint64 ns = std::chrono::nanoseconds(Clock::now() - m_since).count();
        const qint64 onLine = (ns * bitsPerSecond() / 10 + 500000000) / 1000000000;
        due = std::min<qint64>(onLine - m_sent, m_queue.size());
    }
    if (due > 0) {
        const QByteArray chunk = m_queue.left(due);
        m_queue.remove(0, due);
        m_sent += due;
        emit delivered(chunk);
    }
    if (m_queue.isEmpty()) m_timer.stop();
}

SimWire::SimWire(VirtualRadio& radio, QObject* parent) : QObject(parent), m_radio(&radio) {
    connect(&m_in, &Pacer::delivered, this, &SimWire::toRadio);
    connect(&m_out, &Pacer::delivered, this, &SimWire::toHost);
}

void SimWire::fromHost(const QByteArray& bytes) {
    if (!m_radio) return;
    const int baud = m_radio->faults().baud;
    m_in.setBaud(baud);
    // On an unpaced line the radio hears the bytes at once: its reply is then queued before the
    // host starts the wait for it, so even a host held up past its time-out finds the reply
    // delivered first, as it would on the real line.
    if (baud == 0 && m_in.pending() == 0)
        toRadio(bytes);
    else
        m_in.push(bytes);
}

void SimWire::toRadio(const QByteArray& bytes) {
    if (!m_radio) return;
    const SimFaults& faults = m_radio->faults();
    m_out.setBaud(faults.baud);
    // The radio answers once the request has arrived, not when this process gets round to it.
    const Pacer::Clock::time_point arrived = m_in.lastArrival();
    QByteArray out = m_radio->feed(bytes);
    const int delayMs = faults.replyDelayMs + m_radio->takeLateMs();
    // A USB adapter sends a full packet of 62 bytes at once; anything shorter waits for its
    // latency timer. The radio's replies are all shorter.
    constexpr int UsbPacketBytes = 62;
    const int holdMs =
        faults.usbLatencyMs > 0 && m_out.pending() + out.size() < UsbPacketBytes ? faults.usbLatencyMs : 0;
    if (out.isEmpty()) return;
    // The cable's echo is immediate; only the radio takes its time.
    if (faults.echo && delayMs > 0) {
        toHostAfter(out.left(bytes.size()), holdMs, arrived);
        out.remove(0, bytes.size());
    }
    toHostAfter(out, delayMs + holdMs, arrived);
}

void SimWire::toHostAfter(const QByteArray& bytes, int ms, Pacer::Clock::time_point arrived) {
    if (bytes.isEmpty()) return;
    if (ms <= 0) {
        m_out.push(bytes, arrived);
        return;
    }
    QTimer::singleShot(WaitScale::scaled(ms), Qt::PreciseTimer, this, [this, bytes, drops = m_drops] {
        if (drops == m_drops) m_out.push(bytes);
    });
}

qint64 SimWire::lineNanos(int bytes) const {
    const qint64 bps = m_radio ? qint64(m_radio->faults().baud) * WaitScale::divisor() : 0;
    return bps > 0 ? qint64(bytes) * 10 * 1'000'000'000 / bps : 0;
}

void SimWire::deliverDue() {
    m_in.deliverDue();
    m_out.deliverDue();
}

void SimWire::dropToHost() {
    m_out.clear();
    ++m_drops;
}

SimPort::SimPort(VirtualRadio& radio, QObject* parent) : RadioPort(parent), m_wire(radio) {
    connect(&m_wire, &SimWire::toHost, this, [this](const QByteArray& bytes) {
        if (!m_open) return;
        m_buffer.append(bytes);
        if (!m_pulling) emit readyRead();
    });
}

bool SimPort::open() {
    if (m_refuseOpen) {
        m_error = QStringLiteral("virtual radio refused the open");
        return false;
    }
    m_open = true;
    m_error.clear();
    ++m_opens;
    return true;
}

void SimPort::close() {
    m_open = false;
    m_buffer.clear();
    m_wire.dropToHost();
}

bool SimPort::write(const QByteArray& bytes) {
    if (!m_open) return false;
    m_wire.fromHost(bytes);
    return true;
}

QByteArray SimPort::readAll() {
    // A reader that looks before the line's timer has run still finds what has arrived by now.
    m_pulling = true;
    m_wire.deliverDue();
    m_pulling = false;
    return std::exchange(m_buffer, {});
}

void SimPort::breakLine(const QString& message) {
    if (!m_open) return;
    close();
    m_error = message;
    emit failed(message);
}
