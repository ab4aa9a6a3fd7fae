// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzz/scriptedradio.h"
#include "core/link/frames.h"
#include "core/memmap/memorymap.h"
#include <QCoreApplication>
#include <QTimer>
#include <QTimerEvent>

QByteArray InputBytes::take(qsizetype count) {
    const qsizetype n = std::min<qsizetype>(count, qsizetype(m_size - m_pos));
    const QByteArray out(reinterpret_cast<const char*>(m_data + m_pos), std::max<qsizetype>(n, 0));
    m_pos += size_t(out.size());
    return out;
}

bool VirtualTimeDispatcher::processEvents(QEventLoop::ProcessEventsFlags flags) {
    m_interrupted = false;
    emit awake();
    QCoreApplication::sendPostedEvents();
    if (m_interrupted) return true;
    if (fireNextDue()) return true;
    if (!(flags & QEventLoop::WaitForMoreEvents) || m_timers.empty()) return false;
    // Nothing else can happen before the next timer: its time has come.
    qint64 next = m_timers.begin()->second.due;
    for (const auto& [id, timer] : m_timers)
        next = std::min(next, timer.due);
    m_now = std::max(m_now, next);
    return fireNextDue();
}

bool VirtualTimeDispatcher::fireNextDue() {
    int id = -1;
    for (const auto& [timerId, timer] : m_timers)
        if (timer.due <= m_now && (id < 0 || timer.due < m_timers.at(id).due)) id = timerId;
    if (id < 0) return false;
    Timer& timer = m_timers.at(id);
    timer.due = m_now + std::max<qint64>(timer.interval, 1);
    QTimerEvent event(id);
    QCoreApplication::sendEvent(timer.object, &event);
    return true;
}

void VirtualTimeDispatcher::registerTimer(int timerId, qint64 interval, Qt::TimerType type, QObject* object) {
    m_timers[timerId] = Timer{interval, m_now + interval, type, object};
}

bool VirtualTimeDispatcher::unregisterTimer(int timerId) {
    return m_timers.erase(timerId) > 0;
}

bool VirtualTimeDispatcher::unregisterTimers(QObject* object) {
    bool any = false;
    for (auto it = m_timers.begin(); it != m_timers.end();) {
        if (it->second.object == object) {
            it = m_timers.erase(it);
            any = true;
        } else {
            ++it;
        }
    }
    return any;
}

QList<QAbstractEventDispatcher::TimerInfo> VirtualTimeDispatcher::registeredTimers(QObject* object) const {
    QList<TimerInfo> out;
    for (const auto& [id, timer] : m_timers)
        if (timer.object == object) out.append(TimerInfo(id, int(timer.interval), timer.type));
    return out;
}

int VirtualTimeDispatcher::remainingTime(int timerId) {
    const auto it = m_timers.find(timerId);
    return it == m_timers.end() ? -1 : int(std::max<qint64>(it->second.due - m_now, 0));
}

namespace {
enum Instruction {
    ProperFromInput,
    ProperFromMemory,
    Busy,
    Silence,
    WrongChecksum,
    StrayBytes,
    CutShort,
    Late,
    LineBreaks,
    InstructionCount
};

QByteArray sealed(QByteArray bytes) {
    bytes.append(char(Frame::checksum(bytes)));
    return bytes;
}
} // namespace

ScriptedRadioPort::ScriptedRadioPort(InputBytes& input, bool echo, int chunk)
    : m_in(input), m_echo(echo), m_chunk(chunk), m_memory(0x2000, char(0xFF)) {
    m_memory.replace(Addr::Identification, identificationBytes().size(), identificationBytes());
}

bool ScriptedRadioPort::open() {
    if (m_broke) {
        m_error = QStringLiteral("fuzz: the line is broken");
        return false;
    }
    m_open = true;
    ++m_opens;
    return true;
}

void ScriptedRadioPort::close() {
    m_open = false;
    m_buffer.clear();
}

QByteArray ScriptedRadioPort::readAll() {
    return std::exchange(m_buffer, {});
}

void ScriptedRadioPort::deliver(const QByteArray& bytes, int delayMs) {
    const int chunk = m_chunk > 0 ? m_chunk : int(std::max<qsizetype>(bytes.size(), 1));
    for (qsizetype i = 0; i < bytes.size(); i += chunk) {
        const QByteArray part = bytes.mid(i, chunk);
        QTimer::singleShot(delayMs, this, [this, part, opening = m_opens] {
            if (!m_open || opening != m_opens) return;
            m_buffer += part;
            emit readyRead();
        });
    }
}

// The answer the radio's protocol gives to `frame`: a read's data from the input or from
// memory, an acknowledgement for writes, the clock and the ready query, the brand word for the
// handshake, nothing for the end frame or a frame it does not know.
QByteArray ScriptedRadioPort::answer(const QByteArray& frame, bool fromMemory) {
    const quint8 command = quint8(frame.at(0));
    if (command == 0x02) return QByteArray::fromHex("0606716F7672616E15");
    if (command == 0x52 && frame.size() >= 6) {
        const int address = quint8(frame.at(2)) << 8 | quint8(frame.at(3));
        const int count = quint8(frame.at(4));
        QByteArray data = fromMemory ? m_memory.mid(address, count) : m_in.take(count);
        data = data.leftJustified(count, char(0xFF));
        return sealed(QByteArray(1, char(0x57)) + char(count + 2) + frame.mid(2, 2) + data);
    }
    if (command == 0x57 && frame.size() >= 5) {
        const int address = quint8(frame.at(2)) << 8 | quint8(frame.at(3));
        const QByteArray data = frame.mid(4, frame.size() - 5);
        if (address + data.size() <= m_memory.size()) m_memory.replace(address, data.size(), data);
    }
    if (command == 0x64) return {};
    return QByteArray::fromHex("060006");
}

bool ScriptedRadioPort::write(const QByteArray& bytes) {
    if (!m_open) return false;
    m_written.append(bytes);
    if (m_echo) deliver(bytes, 0);
    if (m_in.atEnd() || bytes.isEmpty()) return true;
    const int instruction = m_in.byte() % InstructionCount;
    switch (instruction) {
    case ProperFromInput:
    case ProperFromMemory:
        deliver(answer(bytes, instruction == ProperFromMemory), 0);
        break;
    case Busy:
        deliver(QByteArray::fromHex("090009"), 0);
        break;
    case Silence:
        break;
    case WrongChecksum: {
        QByteArray reply = answer(bytes, true);
        if (!reply.isEmpty()) reply.back() = char(reply.back() ^ (m_in.byte() | 1));
        deliver(reply, 0);
        break;
    }
    case StrayBytes:
        deliver(m_in.take(m_in.byte() % 48), 0);
        break;
    case CutShort: {
        const QByteArray reply = answer(bytes, true);
        deliver(reply.left(reply.isEmpty() ? 0 : m_in.byte() % reply.size()), 0);
        break;
    }
    case Late:
        deliver(answer(bytes, true), m_in.byte() * 2);
        break;
    case LineBreaks:
        m_broke = true;
        m_open = false;
        m_buffer.clear();
        m_error = QStringLiteral("fuzz: the line broke");
        emit failed(m_error);
        break;
    }
    return true;
}
