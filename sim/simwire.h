// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/link/radioport.h"
#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <chrono>

class VirtualRadio;

// One direction of the serial line: bytes pushed in come out at the line's speed (10 bits a
// byte: start, 8 data, stop), multiplied by WaitScale's divisor. At 0 baud everything pushed
// comes out on the next event-loop pass.
class Pacer : public QObject {
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock;

    explicit Pacer(QObject* parent = nullptr);
    void setBaud(int baud) { m_baud = baud; }
    // Bytes that go on the line at `start`, or once the line is free. A start already past (a
    // reply to a request that arrived while this process was held up) delivers at once what
    // the line would have carried by now.
    void push(const QByteArray& bytes, Clock::time_point start = Clock::now());
    void clear(); // drops bytes still on the line
    // Delivers now what the line has carried by now, for a reader that looks before the timer.
    void deliverDue();
    int pending() const { return int(m_queue.size()); }
    // When the last byte delivered had fully arrived (now on an unpaced line).
    Clock::time_point lastArrival() const;

signals:
    void delivered(const QByteArray& bytes);

private:
    void tick();
    qint64 bitsPerSecond() const;

    int m_baud = 0;
    QByteArray m_queue;
    QTimer m_timer;
    Clock::time_point m_since; // start of the current burst
    qint64 m_sent = 0;         // bytes delivered in the current burst
};

// The cable between a host and the virtual radio, paced as the radio's faults ask.
class SimWire : public QObject {
    Q_OBJECT
public:
    explicit SimWire(VirtualRadio& radio, QObject* parent = nullptr);
    void fromHost(const QByteArray& bytes);
    // The host let go of the line: what the radio was still sending is lost. Bytes the host
    // sent before are already on their way and still arrive.
    void dropToHost();
    // Both directions deliver what is due by now: a request that has arrived is answered.
    void deliverDue();
    // How long `bytes` take from the host to the radio at the line's speed (0 unpaced).
    qint64 lineNanos(int bytes) const;

signals:
    void toHost(const QByteArray& bytes);

private:
    void toRadio(const QByteArray& bytes);
    // Bytes for the host that leave `ms` from now (at `arrived` when 0).
    void toHostAfter(const QByteArray& bytes, int ms, Pacer::Clock::time_point arrived);

    QPointer<VirtualRadio> m_radio;
    Pacer m_in;      // host to radio
    Pacer m_out;     // radio (and echo) to host
    int m_drops = 0; // replies still held back by the reply delay belong to the line before a drop
};

// The virtual radio as a port of this process: what the link writes reaches the radio through
// a SimWire, the radio's answers come back as received bytes. The radio must outlive the port.
class SimPort : public RadioPort {
    Q_OBJECT
public:
    explicit SimPort(VirtualRadio& radio, QObject* parent = nullptr);

    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    QString errorString() const override { return m_error; }
    QString deviceName() const override { return QStringLiteral("virtual radio"); }
    qint64 lineNanos(int bytes) const override { return m_wire.lineNanos(bytes); }

    // For trials of failure handling: the next opens fail, or the open line breaks now.
    void setRefuseOpen(bool refuse) { m_refuseOpen = refuse; }
    void breakLine(const QString& message);
    int opens() const { return m_opens; }

private:
    SimWire m_wire;
    QByteArray m_buffer;
    QString m_error;
    bool m_open = false;
    bool m_pulling = false; // readAll() is taking due bytes: no notice for those
    bool m_refuseOpen = false;
    int m_opens = 0;
};
