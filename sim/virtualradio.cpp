// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/virtualradio.h"
#include "core/base/filesave.h"
#include "core/link/frames.h"
#include "core/link/waitscale.h"
#include <QFile>

namespace {
// Command bytes the radio understands and the body lengths it accepts for each.
struct Command {
    quint8 code;
    int minBody;
    int maxBody;
};
constexpr Command Commands[] = {
    {0x02, 6, 6},  // handshake: "QOVRAN"
    {0x06, 0, 0},  // ready query
    {0x52, 3, 3},  // read: address (2), count
    {0x57, 3, 34}, // write: address (2), 1 to 32 data bytes
    {0x55, 3, 7},  // clock (7 bytes) or the battery query (3 bytes)
    {0x64, 1, 1},  // end of transfer: 6F
};

constexpr int MaxFramesKept = 4096;

// The block sizes the radio takes: reads of 8 or 16 bytes; writes of 16, 8, 6, 4 or 3 bytes and
// the single battery-offset byte. Any other size goes unanswered, so a wrong one is noticed.
bool readSizeTaken(int count) {
    return count == 8 || count == 16;
}
bool writeSizeTaken(int count) {
    for (const int n : {1, 3, 4, 6, 8, 16})
        if (count == n) return true;
    return false;
}

const QByteArray Brand = QByteArrayLiteral("QOVRAN");
const QByteArray Garbage = QByteArrayLiteral("\xA5\xFF\x00");
const QByteArray BatteryQuery = QByteArrayLiteral("\x07\x90\x10");

// A reply frame: the bytes given and their checksum.
QByteArray sealed(QByteArray bytes) {
    bytes.append(char(Frame::checksum(bytes)));
    return bytes;
}

const QByteArray Ready = sealed(QByteArrayLiteral("\x06\x00"));
const QByteArray Busy = sealed(QByteArrayLiteral("\x09\x00"));

struct Preset {
    int address;
    const char* hex;
};
// What a radio carries when it leaves the factory: its identification, the alignment defaults
// (transmit power, deviation, squelch and timing values) and the second-band limits.
constexpr Preset FactoryPresets[] = {
    {0x0158, "1460144044004300"},
    {0x0170, "51562D520585FF06FFFFFFFFFFFFFFFF"},
    {0x01A0, "410000302D3E3306D00F0A0401330806"},
    // Byte 14 = 0D and a stored transmit-usage level of 1 in byte 15: the usage adjustment works.
    {0x01B0, "7B7220525300007A8ED071526E4E0D01"},
    {0x01C0, "08066006FF17FF170C0F0FFAFA323232"},
};

quint16 addressOf(const QByteArray& frame) {
    return quint16(quint8(frame[2]) << 8 | quint8(frame[3]));
}
} // namespace

VirtualRadio::VirtualRadio(QObject* parent)
    : QObject(parent), m_memory(factoryMemory()), m_battery(QByteArrayLiteral("\x96\x96\x96\x96")) {}

QByteArray VirtualRadio::factoryMemory() {
    QByteArray memory(MemorySize, char(0xFF));
    for (const Preset& p : FactoryPresets) {
        const QByteArray bytes = QByteArray::fromHex(QByteArray(p.hex));
        memory.replace(p.address, bytes.size(), bytes);
    }
    return memory;
}

bool VirtualRadio::setMemory(const QByteArray& image) {
    if (image.size() != MemorySize) return false;
    m_memory = image;
    return true;
}

std::optional<QString> VirtualRadio::loadImage(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
    const QByteArray image = file.read(MemorySize + 1);
    if (!setMemory(image))
        return QStringLiteral("%1 is not a memory image: it must hold exactly %2 bytes")
            .arg(path)
            .arg(MemorySize);
    return std::nullopt;
}

std::optional<QString> VirtualRadio::saveImage(const QString& path) const {
    if (const auto failure = saveFile(path, m_memory))
        return QStringLiteral("cannot write %1: %2").arg(path, failure->systemText);
    return std::nullopt;
}

bool VirtualRadio::setPassword(const QString& digits) {
    constexpr int MaxDigits = 14; // a count of F means "no password"
    if (digits.size() > MaxDigits) return false;
    for (const QChar c : digits)
        if (c < QChar('0') || c > QChar('9')) return false;
    const QString hex = digits.isEmpty() ? QStringLiteral("FFFFFFFFFFFFFFFF")
                                         : digits.leftJustified(15, QChar('F')) +
                                               QString::number(digits.size(), 16).toUpper();
    m_memory.replace(0x0150, 8, QByteArray::fromHex(hex.toLatin1()));
    return true;
}

bool VirtualRadio::setBatteryReadings(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) return false;
    QByteArray readings;
    for (const QString& part : parts) {
        bool ok = false;
        const int value = part.trimmed().toInt(&ok);
        if (!ok || value < 0 || value > 0xFF) return false;
        readings.append(char(value));
    }
    m_battery = readings;
    return true;
}

int VirtualRadio::frameLength() const {
    if (m_input.isEmpty()) return 0;
    const quint8 code = quint8(m_input[0]);
    const Command* command = nullptr;
    for (const Command& c : Commands)
        if (c.code == code) command = &c;
    if (!command) return -1;
    if (m_input.size() < 2) return 0;
    const int body = quint8(m_input[1]);
    if (body < command->minBody || body > command->maxBody) return -1;
    const int length = body + 3;
    if (m_input.size() < length) return 0;
    if (Frame::checksum(m_input.left(length - 1)) != quint8(m_input[length - 1])) return -1;
    return length;
}

QByteArray VirtualRadio::feed(const QByteArray& bytes) {
    if (bytes.isEmpty()) return {};
    if (m_lastByte.isValid() && m_lastByte.elapsed() > WaitScale::scaled(IdleResetMs) && !m_input.isEmpty()) {
        m_skipped += int(m_input.size());
        m_input.clear();
    }
    m_lastByte.start();
    QByteArray out = m_faults.echo ? bytes : QByteArray();
    m_input.append(bytes);
    for (;;) {
        const int length = frameLength();
        if (length == 0) break;
        if (length < 0) {
            m_input.remove(0, 1);
            ++m_skipped;
            continue;
        }
        const QByteArray frame = m_input.left(length);
        m_input.remove(0, length);
        if (const std::optional<QByteArray> reply = answer(frame))
            out.append(withFaults(*reply, quint8(frame[0]) == 0x52 && quint8(reply->at(0)) == 0x57));
    }
    return out;
}

QByteArray VirtualRadio::withFaults(QByteArray reply, bool readData) {
    const int n = ++m_replies;
    if (readData) ++m_readReplies;
    const bool allReplies = m_faults.corruptScope == SimFaults::Scope::All;
    const int counted = allReplies ? n : m_readReplies;
    if (m_faults.corruptEvery > 0 && (allReplies || readData) && counted % m_faults.corruptEvery == 0)
        reply[reply.size() - 1] = char(reply.back() ^ 0x5A);
    if (m_faults.damageEvery > 0 && n % m_faults.damageEvery == 0) {
        // Data byte 7 of a block (the high power at 470 MHz in 0x01B0), else the second byte.
        constexpr int BlockByte7 = 4 + 7;
        reply[reply.size() > BlockByte7 + 1 ? BlockByte7 : 1] ^= char(0x80);
    }
    if (m_faults.garbageEvery > 0 && n % m_faults.garbageEvery == 0) reply.prepend(Garbage);
    return reply;
}

void VirtualRadio::noteLate(int address, bool write) {
    if (m_lateDone || address != m_faults.lateAddress || (m_faults.lateWriteOnly && !write)) return;
    m_lateDone = true;
    m_lateNow = m_faults.lateMs;
}

bool VirtualRadio::busyNow() const {
    return m_faults.busyEvery > 0 && (m_replies + 1) % m_faults.busyEvery == 0;
}

std::optional<QByteArray> VirtualRadio::answer(const QByteArray& frame) {
    if (m_frames.size() >= MaxFramesKept) m_frames.removeFirst();
    m_frames.append(frame);
    ++m_frameCount;
    if (m_faults.silentAfter >= 0 && m_frameCount > m_faults.silentAfter) return std::nullopt;

    const quint8 code = quint8(frame[0]);
    const QByteArray body = frame.mid(2, frame.size() - 3);
    if (code == 0x02) {
        if (body != Brand) return std::nullopt;
        if (busyNow()) return Busy;
        m_session = true;
        return sealed(QByteArrayLiteral("\x06\x06qovran"));
    }
    if (!m_session) return std::nullopt;

    switch (code) {
    case 0x64:
        if (quint8(body[0]) != 0x6F) return std::nullopt;
        m_session = false;
        emit transferEnded();
        return std::nullopt;
    case 0x06:
        return busyNow() ? Busy : Ready;
    case 0x52: {
        int address = addressOf(frame);
        const int count = quint8(body[2]);
        if (!readSizeTaken(count) || address + count > MemorySize) return std::nullopt;
        if (busyNow()) return Busy;
        noteLate(address, false);
        ++m_blockReads;
        if (m_faults.otherBlockEvery > 0 && m_blockReads % m_faults.otherBlockEvery == 0)
            address = (address + 0x10) % (MemorySize - count);
        QByteArray reply;
        reply.append(char(0x57))
            .append(char(count + 2))
            .append(char(address >> 8))
            .append(char(address & 0xFF))
            .append(m_memory.mid(address, count));
        return sealed(reply);
    }
    case 0x57: {
        const int address = addressOf(frame);
        noteLate(address, true);
        const QByteArray data = body.mid(2);
        if (!writeSizeTaken(int(data.size())) || address + data.size() > MemorySize) return std::nullopt;
        if (busyNow()) return Busy;
        ++m_blockWrites;
        if (m_faults.dropWritesEvery > 0 && m_blockWrites % m_faults.dropWritesEvery == 0) return Ready;
        m_memory.replace(address, data.size(), data);
        return Ready;
    }
    case 0x55:
        if (body.size() == 7) {
            if (busyNow()) return Busy;
            m_clock = body;
            return Ready;
        }
        if (body == BatteryQuery) {
            if (busyNow()) return Busy;
            // Reading reply: 54, four battery samples, padding to the 20 bytes the query waits for.
            QByteArray reply = QByteArrayLiteral("\x54") + m_battery + QByteArray(14, '\0');
            return sealed(reply);
        }
        return std::nullopt;
    default:
        return std::nullopt;
    }
}
