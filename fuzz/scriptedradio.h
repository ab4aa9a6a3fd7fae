// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the read and write fuzzers need to drive the real transfer procedures through the real
// link at full speed: the input as a stream of instructions, a radio port whose every answer the
// input decides, and an event dispatcher on which waiting takes no time.
#include "core/link/radioport.h"
#include <QAbstractEventDispatcher>
#include <QByteArray>
#include <QList>
#include <cstddef>
#include <cstdint>
#include <map>

// The bytes of a fuzz input, taken from the front as they are asked for; zeros once used up.
class InputBytes {
public:
    InputBytes(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool atEnd() const { return m_pos >= m_size; }
    quint8 byte() { return atEnd() ? 0 : m_data[m_pos++]; }
    QByteArray take(qsizetype count);

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// Time that passes only when nothing else can happen: a wait returns as soon as every event
// before it has been handled, and the timers fire in the order of their (virtual) due times.
// The link's waits of 100 to 300 ms then cost nothing, and nothing in the link changes.
// Install before the QCoreApplication is made.
class VirtualTimeDispatcher : public QAbstractEventDispatcher {
public:
    bool processEvents(QEventLoop::ProcessEventsFlags flags) override;
    void registerSocketNotifier(QSocketNotifier*) override {}
    void unregisterSocketNotifier(QSocketNotifier*) override {}
    void registerTimer(int timerId, qint64 interval, Qt::TimerType type, QObject* object) override;
    bool unregisterTimer(int timerId) override;
    bool unregisterTimers(QObject* object) override;
    QList<TimerInfo> registeredTimers(QObject* object) const override;
    int remainingTime(int timerId) override;
    void wakeUp() override {}
    void interrupt() override { m_interrupted = true; }

private:
    struct Timer {
        qint64 interval;
        qint64 due;
        Qt::TimerType type;
        QObject* object;
    };
    bool fireNextDue();
    std::map<int, Timer> m_timers;
    qint64 m_now = 0;
    bool m_interrupted = false;
};

// A radio whose every answer the fuzz input decides. For each frame the link sends, one
// instruction byte says what comes back: the proper answer with data from the input or from the
// radio's memory, busy, silence, a wrong checksum, stray bytes, an answer cut short, a late one,
// or a line that breaks. Once the input is used up the radio is silent. Answers arrive in chunks
// of `chunk` bytes (0: all at once), after the echo of the frame when `echo` is set.
class ScriptedRadioPort : public RadioPort {
    Q_OBJECT
public:
    ScriptedRadioPort(InputBytes& input, bool echo, int chunk);

    bool open() override;
    void close() override;
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    QString errorString() const override { return m_error; }
    QString deviceName() const override { return QStringLiteral("fuzz"); }

    const QList<QByteArray>& written() const { return m_written; }
    bool broke() const { return m_broke; }

private:
    QByteArray answer(const QByteArray& frame, bool fromMemory);
    void deliver(const QByteArray& bytes, int delayMs);

    InputBytes& m_in;
    bool m_echo;
    int m_chunk;
    QByteArray m_memory;
    QByteArray m_buffer;
    QList<QByteArray> m_written;
    QString m_error;
    bool m_open = false;
    bool m_broke = false;
    int m_opens = 0; // answers still on their way belong to the opening they were sent in
};
