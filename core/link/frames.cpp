// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/link/frames.h"

namespace Frame {

namespace {
int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    return -1;
}

QString hex2(int value) {
    return QStringLiteral("%1").arg(value & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

// Two decimal digits as one BCD byte, written as its hex text: 24 -> "24".
QString bcd2(int value) {
    return QStringLiteral("%1").arg(value % 100, 2, 10, QLatin1Char('0'));
}
} // namespace

std::optional<QByteArray> fromHex(QStringView hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    QByteArray bytes;
    bytes.reserve(hex.size() / 2);
    for (qsizetype i = 0; i < hex.size(); i += 2) {
        const int hi = hexValue(hex[i]);
        const int lo = hexValue(hex[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes.append(char(hi << 4 | lo));
    }
    return bytes;
}

QString toHex(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex().toUpper());
}

quint8 checksum(const QByteArray& bytes) {
    quint8 sum = 0;
    for (const char b : bytes)
        sum ^= quint8(b);
    return sum;
}

std::optional<QByteArray> compose(QStringView hex) {
    std::optional<QByteArray> bytes = fromHex(hex);
    if (!bytes || bytes->size() < 2 || quint8(bytes->at(1)) != bytes->size() - 2) return std::nullopt;
    bytes->append(char(checksum(*bytes)));
    return bytes;
}

bool replyChecksumOk(QStringView reply) {
    if (reply.size() < 4) return false;
    const std::optional<QByteArray> bytes = fromHex(reply);
    if (!bytes) return false;
    // The comparison is on text: the last two characters must be the upper-case digits.
    return hex2(checksum(bytes->left(bytes->size() - 1))) == reply.right(2);
}

std::optional<int> frameChars(QStringView hex) {
    if (hex.size() < 4) return std::nullopt;
    bool ok = false;
    const int length = hex.mid(2, 2).toInt(&ok, 16);
    if (!ok) return std::nullopt;
    return 2 * (length + 3); // command, length, body, checksum
}

QString readRequest(quint16 address, int count) {
    return QStringLiteral("5203%1%2").arg(address, 4, 16, QLatin1Char('0')).arg(hex2(count)).toUpper();
}

QString writeRequest(quint16 address, const QByteArray& data) {
    return QStringLiteral("57") + hex2(int(data.size()) + 2) +
           QStringLiteral("%1").arg(address, 4, 16, QLatin1Char('0')).toUpper() + toHex(data);
}

QString clockRequest(const QDateTime& local) {
    const QDate d = local.date();
    const QTime t = local.time();
    // Qt counts Monday as 1 and Sunday as 7; the radio counts Sunday as 0.
    const int weekday = d.dayOfWeek() % 7;
    return QStringLiteral("5507") + bcd2(d.year()) + bcd2(d.month()) + bcd2(d.day()) + bcd2(t.hour()) +
           bcd2(t.minute()) + bcd2(t.second()) + hex2(weekday);
}

ReadReply checkReadReply(QStringView reply, quint16 address, int count) {
    if (reply == Busy) return ReadReply::Busy;
    if (!reply.startsWith(QLatin1String("57"))) return ReadReply::NotABlock;
    const int chars = readReplyChars(count);
    if (reply.size() < chars) {
        // A length byte that already disagrees will not come right by waiting.
        const std::optional<int> whole = frameChars(reply);
        return whole && *whole != chars ? ReadReply::Damaged : ReadReply::Incomplete;
    }
    if (reply.size() > chars || frameChars(reply) != chars || !replyChecksumOk(reply))
        return ReadReply::Damaged;
    bool ok = false;
    const uint got = reply.mid(4, 4).toUInt(&ok, 16);
    if (!ok) return ReadReply::Damaged;
    return got == address ? ReadReply::Whole : ReadReply::OtherBlock;
}

AckReply checkAck(QStringView reply) {
    if (reply.isEmpty()) return AckReply::Silent;
    if (reply == Ready) return AckReply::Done;
    if (reply == Busy) return AckReply::Busy;
    // 06 or 09 first, but not exactly one whole reply: cut, spoilt or followed by more.
    if (reply.startsWith(QLatin1String("06")) || reply.startsWith(QLatin1String("09")))
        return AckReply::Damaged;
    return AckReply::Unexpected;
}

} // namespace Frame
