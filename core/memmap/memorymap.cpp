// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/memmap/memorymap.h"

quint16 channelRecordAddress(Side side, int row) {
    // Each table row owns 32 bytes: side B's record first, side A's 16 bytes later.
    return quint16(Addr::ChannelRecords + (row - 1) * 0x20 + (side == Side::A ? 0x10 : 0));
}

quint16 channelNameAddress(Side side, int row) {
    return quint16(Addr::ChannelNames + (row - 1) * 0x10 + (side == Side::A ? 0x08 : 0));
}

quint16 fmBlockAddress(int block) {
    return quint16(Addr::FmChannels + block * BlockSize::Block);
}

quint16 callListBlockAddress(int block) {
    return quint16(Addr::CallList + block * BlockSize::Block);
}

QByteArray fixedAlignmentBytes() {
    return QByteArray::fromHex("2D3E33");
}
QByteArray fixedHighBytes() {
    return QByteArray::fromHex("48696768");
}
QByteArray identificationBytes() {
    return QByteArray::fromHex("51562D520585FF06");
}

bool identificationMatches(const QByteArray& block) {
    return block.size() >= 8 && block.left(8) == identificationBytes();
}

std::optional<qint64> bcdValue(const QByteArray& bytes) {
    if (bytes.isEmpty() || bytes.size() > 9) return std::nullopt;
    qint64 v = 0;
    for (char c : bytes) {
        const int b = quint8(c);
        const int hi = b >> 4, lo = b & 0x0F;
        if (hi > 9 || lo > 9) return std::nullopt;
        v = v * 100 + hi * 10 + lo;
    }
    return v;
}

std::optional<QByteArray> bcdBytes(const QString& digits) {
    if (digits.size() % 2 != 0) return std::nullopt;
    QByteArray out;
    out.reserve(digits.size() / 2);
    for (int i = 0; i < digits.size(); i += 2) {
        const QChar a = digits.at(i), b = digits.at(i + 1);
        if (a < QChar('0') || a > QChar('9') || b < QChar('0') || b > QChar('9')) return std::nullopt;
        out.append(char(((a.unicode() - '0') << 4) | (b.unicode() - '0')));
    }
    return out;
}

QString radioText(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const int b = quint8(c);
        text += b >= 0x20 && b <= 0x7F ? QChar(b) : QChar(' ');
    }
    while (text.endsWith(QChar(' ')))
        text.chop(1);
    return text;
}

std::optional<QByteArray> radioTextBytes(const QString& text, int maxChars, int size) {
    if (text.size() > maxChars || text.size() > size) return std::nullopt;
    QByteArray out(size, ' ');
    for (int i = 0; i < text.size(); ++i) {
        const ushort u = text.at(i).unicode();
        if (u < 0x20 || u > 0x7F) return std::nullopt;
        out[i] = char(u);
    }
    return out;
}
