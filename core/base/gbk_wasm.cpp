// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/gbk.h"
#include <algorithm>

namespace {
struct GbkPair {
    char16_t unicode;
    quint16 code; // lead byte in the high half
};
#include "gbktable.inc" // gbkDecodeTable, gbkEncodeTable: packaging/web/gbk-table.py

constexpr unsigned char FirstLead = 0x81, LastLead = 0xFE, FirstTrail = 0x40, LastTrail = 0xFE;
constexpr unsigned char NoTrail = 0x7F;

// Code page 936's two single bytes above ASCII: the euro sign and a private-use character.
QChar singleByte(unsigned char byte) {
    if (byte == 0x80) return QChar(char16_t(0x20AC));
    if (byte == 0xFF) return QChar(char16_t(0xF8F5));
    return QChar(QChar::ReplacementCharacter);
}
constexpr int TrailsPerLead = LastTrail - FirstTrail + 1;
} // namespace

// The browser's Qt has no ICU and the C library cannot encode GBK: the tables are built in.
struct Gbk::Converters {};

Gbk::Gbk() = default;

Gbk::~Gbk() {
    delete m_converters;
}

QString Gbk::decodeChinese(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            text += QLatin1Char(char(lead));
            continue;
        }
        const auto next = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
        const bool pair = lead >= FirstLead && lead <= LastLead && next >= FirstTrail && next <= LastTrail &&
                          next != NoTrail;
        if (!pair) {
            // A byte that begins no character; the next is looked at afresh.
            text += singleByte(lead);
            continue;
        }
        const auto trail = static_cast<unsigned char>(bytes[++i]);
        const char16_t unicode = gbkDecodeTable[(lead - FirstLead) * TrailsPerLead + (trail - FirstTrail)];
        text += unicode ? QChar(unicode) : QChar(QChar::ReplacementCharacter);
    }
    return text;
}

QByteArray Gbk::encodeChinese(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < 0x80) {
            bytes += char(unit);
            continue;
        }
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i; // beyond the Basic Multilingual Plane, where GBK has nothing: one "?" for both halves
            bytes += '?';
            continue;
        }
        const auto* end = std::end(gbkEncodeTable);
        const auto* found = std::lower_bound(std::begin(gbkEncodeTable), end, unit,
                                             [](const GbkPair& p, char16_t u) { return p.unicode < u; });
        if (found == end || found->unicode != unit) {
            bytes += '?';
        } else if (found->code > 0xFF) {
            bytes += char(found->code >> 8);
            bytes += char(found->code & 0xFF);
        } else {
            bytes += char(found->code);
        }
    }
    return bytes;
}
