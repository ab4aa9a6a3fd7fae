// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/memmap/channelrecord.h"
#include "core/base/messages.h"
#include "core/memmap/tonecodec.h"

namespace {

// Which word a set bit stands for. The radio's senses differ by column and are fixed.
enum class Sense {
    OnIsOne,   // 1 = WordOn, 0 = WordOff
    WideIsOne, // 1 = WordWide, 0 = WordNarrow
    OffIsOne,  // 1 = WordOff, 0 = WordOn
};

struct FlagBit {
    int column;
    int byte;
    int bit; // 0-7 within the byte; the high nibble's bit 0 is bit 4
    Sense sense;
};

const FlagBit FlagBits[] = {
    {Col::Opt9, 13, 4, Sense::OnIsOne},        {Col::Bandwidth, 13, 5, Sense::WideIsOne},
    {Col::Dtmf, 13, 6, Sense::OffIsOne},       {Col::PttId, 13, 7, Sense::OffIsOne},
    {Col::Opt7, 13, 0, Sense::OffIsOne},       {Col::Opt11, 13, 1, Sense::OffIsOne},
    {Col::Talkaround, 13, 2, Sense::OffIsOne}, {Col::Opt15, 13, 3, Sense::OffIsOne},
    {Col::Opt8, 14, 4, Sense::OffIsOne},       {Col::Reverse, 14, 5, Sense::OffIsOne},
};

constexpr int PowerShift = 6; // byte 14 bits 6-7: 0 Low, 1 Mid, 2 High (3 reads as High)

bool bitSet(const QString& cell, Sense sense, const ValueWords& w) {
    switch (sense) {
    case Sense::OnIsOne:
        return isOnOnlyIfOn(cell, w);
    case Sense::WideIsOne:
        return isWide(cell, w);
    case Sense::OffIsOne:
        return !isOnUnlessOff(cell, w);
    }
    return false;
}

QString wordOf(bool set, Sense sense, const ValueWords& w) {
    switch (sense) {
    case Sense::OnIsOne:
        return set ? w.on : w.off;
    case Sense::WideIsOne:
        return set ? w.wide : w.narrow;
    case Sense::OffIsOne:
        return set ? w.off : w.on;
    }
    return {};
}

bool isDigit(QChar c) {
    return c >= QChar('0') && c <= QChar('9');
}

// "436.12500" -> 43 61 25 00: three whole and five decimal digits of MHz are the 8 BCD digits
// of the frequency in 10 Hz. Any other shape would shift digits, so it is refused.
std::optional<QByteArray> frequencyBytes(const QString& cell, QChar decimalPoint) {
    const QString t = cell.trimmed();
    if (t.size() != 9) return std::nullopt;
    const QChar sep = t.at(3);
    if (sep != QChar('.') && sep != QChar(',') && sep != decimalPoint) return std::nullopt;
    for (int i : {0, 1, 2, 4, 5, 6, 7, 8})
        if (!isDigit(t.at(i))) return std::nullopt;
    return bcdBytes(t.left(3) + t.mid(4));
}

QString frequencyText(qint64 tenHz, QChar decimalPoint) {
    return QString::asprintf("%lld", tenHz / 100000) + decimalPoint +
           QString::asprintf("%05lld", tenHz % 100000);
}

BadField badCell(int column, int row, int reason) {
    return BadField{QString(), column, row, reason};
}

} // namespace

Encoded encodeChannelRecord(const ChannelTable& t, int row, const ValueWords& w, QChar decimalPoint) {
    if (t.cell(Col::RxFreq, row).isEmpty()) return Encoded::of(QByteArray(BlockSize::Record, char(0xFF)));

    const QString rxText = t.cell(Col::RxFreq, row);
    const QString txText = t.cell(Col::TxFreq, row);
    const auto rx = frequencyBytes(rxText, decimalPoint);
    if (!rx) return Encoded::failed(badCell(Col::RxFreq, row, Str::BadFrequency));
    const auto tx = txText.isEmpty() ? std::optional<QByteArray>(QByteArray(4, char(0xFF)))
                                     : frequencyBytes(txText, decimalPoint);
    if (!tx) return Encoded::failed(badCell(Col::TxFreq, row, Str::BadFrequency));

    const QString ctcss = t.cell(Col::CtcssFreq, row);
    int byte12 = 0xFF;
    if (!ctcss.trimmed().isEmpty()) {
        const auto x = ctcssTenths(ctcss, decimalPoint);
        if (!x || *x > 0xFFF) return Encoded::failed(badCell(Col::CtcssFreq, row, Str::BadCtcssFrequency));
        byte12 = *x & 0xFF;
    }
    const auto rxTone = writecode(ToneKind::Rx, t.cell(Col::RxTone, row), {}, w, decimalPoint);
    if (!rxTone) return Encoded::failed(badCell(Col::RxTone, row, Str::BadTone));
    const auto txTone = writecode(ToneKind::Tx, t.cell(Col::TxTone, row), ctcss, w, decimalPoint);
    if (!txTone) return Encoded::failed(badCell(Col::TxTone, row, Str::BadTone));

    QByteArray rec =
        *rx + *tx + QByteArray::fromHex(rxTone->toLatin1()) + QByteArray::fromHex(txTone->toLatin1());
    rec.append(char(byte12));
    quint8 flags[2] = {0, 0}; // bytes 13 and 14
    for (const FlagBit& f : FlagBits)
        if (bitSet(t.cell(f.column, row), f.sense, w)) flags[f.byte - 13] |= quint8(1u << f.bit);
    flags[1] |= quint8(int(powerOf(t.cell(Col::Power, row), w)) << PowerShift);
    flags[1] |= quint8(companderIndex(t.cell(Col::Compander, row), w));
    rec.append(char(flags[0]));
    rec.append(char(flags[1]));
    // Byte 15 tells the radio how the frequency texts compare: FC equal, FD RX after TX, FE before.
    const int order = QString::compare(rxText, txText);
    rec.append(char(order == 0 ? 0xFC : order > 0 ? 0xFD : 0xFE));
    return Encoded::of(rec);
}

bool decodeChannelRecord(const QByteArray& rec, ChannelTable& t, int row, const ValueWords& w,
                         QChar decimalPoint) {
    if (rec.size() < BlockSize::Record) return false;
    for (int c = Col::RxFreq; c < ChannelTable::Columns; ++c)
        if (c != Col::Name) t.setCell(c, row, {});
    const auto rx = bcdValue(rec.mid(0, 4));
    if (!rx) return true; // an empty channel
    t.setCell(Col::RxFreq, row, frequencyText(*rx, decimalPoint));
    if (const auto tx = bcdValue(rec.mid(4, 4)))
        t.setCell(Col::TxFreq, row, frequencyText(*tx, decimalPoint));
    t.setCell(Col::RxTone, row, sendCTC(QString::fromLatin1(rec.mid(8, 2).toHex().toUpper()), w));
    t.setCell(Col::TxTone, row, sendCTC(QString::fromLatin1(rec.mid(10, 2).toHex().toUpper()), w));

    // The CTCSS frequency's top hex digit rides in byte 11 hi; 0 and F mean none.
    const int top = quint8(rec.at(11)) >> 4;
    if (top != 0 && top != 0xF) {
        const int tenths = top * 256 + quint8(rec.at(12));
        t.setCell(Col::CtcssFreq, row,
                  QString::number(tenths / 10) + decimalPoint + QString::number(tenths % 10));
    }
    for (const FlagBit& f : FlagBits)
        t.setCell(f.column, row, wordOf((quint8(rec.at(f.byte)) >> f.bit) & 1, f.sense, w));
    const int power = (quint8(rec.at(14)) >> PowerShift) & 3;
    t.setCell(Col::Power, row, power == 0 ? w.low : power == 1 ? w.mid : w.high);
    t.setCell(Col::Compander, row, companderList(w).at((quint8(rec.at(14)) & 0x0F) % 5));
    return true;
}

Encoded encodeChannelName(const ChannelTable& t, int row) {
    const auto bytes = radioTextBytes(t.cell(Col::Name, row), 7, BlockSize::Name);
    if (!bytes) return Encoded::failed(badCell(Col::Name, row, Str::BadName));
    return Encoded::of(*bytes);
}

bool decodeChannelName(const QByteArray& name, ChannelTable& t, int row) {
    if (name.size() < 7) return false;
    // The radio shows 7 characters; the eighth byte is padding.
    t.setCell(Col::Name, row, radioText(name.left(7)));
    return true;
}
