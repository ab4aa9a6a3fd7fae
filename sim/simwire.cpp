#include "sim/simwire.h"
#include "sim/virtualradio.h"

Pacer::Pacer(QObject* parent) : QObject(parent) {
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &Pacer::tick);
}

void Pacer::push(const QByteArray& bytes) {
    if (bytes.isEmpty()) return;
    if (m_queue.isEmpty()) {
        m_since.start();
        m_sent = 0;
    }
    m_queue.append(bytes);
    if (!m_timer.isActive()) m_timer.start(m_baud > 0 ? 1 : 0);
}

void Pacer::clear() {
    m_queue.clear();
    m_timer.stop();
}

void Pacer::tick() {
    qint64 due = m_queue.size();
    if (m_baud > 0) {
        // The timer ticks every millisecond; rounding to the nearest byte keeps the average
        // arrival on time instead of up to a tick late.
        const qint64 onLine = (m_since.nsecsElapsed() * m_baud / 10 + 500000000) / 1000000000;
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
    m_in.setBaud(m_radio->faults().baud);
    m_in.push(bytes);
}

void SimWire::toRadio(const QByteArray& bytes) {
    if (!m_radio) return;
    const SimFaults& faults = m_radio->faults();
    m_out.setBaud(faults.baud);
    QByteArray out = m_radio->feed(bytes);
    if (faults.replyDelayMs <= 0 || out.isEmpty()) {
        m_out.push(out);
        return;
    }
    // The cable's echo is immediate; only the radio takes its time.
    if (faults.echo) {
        m_out.push(out.left(bytes.size()));
        out.remove(0, bytes.size());
    }
    if (out.isEmpty()) return;
    QTimer::singleShot(faults.replyDelayMs, Qt::PreciseTimer, this, [this, out, drops = m_drops] {
        if (drops == m_drops) m_out.push(out);
    });
}

void SimWire::dropToHost() {
    m_out.clear();
    ++m_drops;
}

SimPort::SimPort(VirtualRadio& radio, QObject* parent) : RadioPort(parent), m_wire(radio) {
    connect(&m_wire, &SimWire::toHost, this, [this](const QByteArray& bytes) {
        if (!m_open) return;
        m_buffer.append(bytes);
        emit readyRead();
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
    return std::exchange(m_buffer, {});
}

void SimPort::breakLine(const QString& message) {
    if (!m_open) return;
    close();
    m_error = message;
    emit failed(message);
}
