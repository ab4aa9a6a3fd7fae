// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/memmap/radioblocks.h"
#include "core/base/messages.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/funccontrols.h"
#include "core/codeplug/funcrules.h"
#include <algorithm>

namespace {

const QString PowerOnText = Ctl::Edit16;
constexpr int MaxPasswordDigits = 12;

QString hexOf(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex().toUpper());
}

bool isDigit(QChar c) {
    return c >= QChar('0') && c <= QChar('9');
}

// The two rental end dates and where they lie in the block.
struct DateField {
    const char* edit;
    int offset;
};
const DateField DateFields[] = {{Ctl::Edit32, 0}, {Ctl::Edit31, 3}};

// The second-band limits in the order the radio keeps them.
const char* const BandTwoOrder[] = {Ctl::UpDown9, Ctl::UpDown8, Ctl::UpDown17, Ctl::UpDown10};

// Squelch base values in the order of bytes 13-15 of 0x01C0 (136, 245 and 400 MHz bands).
const char* const SquelchOrder[] = {Ctl::UpDown14, Ctl::UpDown13, Ctl::UpDown16};
constexpr int SquelchOffset = 13;

// yyyymmddhhmmss as 7 BCD bytes.
QByteArray stampDate(const QDateTime& when) {
    const QDate d = when.date();
    const QTime t = when.time();
    const QString digits = QString::asprintf("%04d%02d%02d%02d%02d%02d", d.year(), d.month(), d.day(),
                                             t.hour(), t.minute(), t.second());
    return bcdBytes(digits).value_or(QByteArray(7, char(0xFF)));
}

} // namespace

void setUpDownShown(ControlStore& func, const QString& upDown, int position, QChar decimalPoint) {
    func.setPosition(upDown, position);
    const QString edit = pairedEdit(upDown);
    if (!edit.isEmpty()) func.setText(edit, upDownText(upDown, func.position(upDown), decimalPoint));
}

std::optional<QByteArray> encodeFmSlot(const QString& text, QChar decimalPoint) {
    if (text.trimmed().isEmpty()) return QByteArray(BlockSize::FmSlot, char(0xFF));
    const auto tenHz = parseScaled(text, 5, decimalPoint); // MHz in units of 10 Hz
    if (!tenHz || *tenHz < 0 || *tenHz >= 100000000) return std::nullopt;
    return bcdBytes(QString::asprintf("%08lld", static_cast<long long>(*tenHz)));
}

std::optional<QString> decodeFmSlot(const QByteArray& slot, QChar decimalPoint) {
    if (slot.size() < BlockSize::FmSlot) return std::nullopt;
    if (quint8(slot.at(0)) == 0xFF) return QString();
    if (!bcdValue(slot.left(BlockSize::FmSlot))) return std::nullopt;
    // Only the 10 kHz digits are shown: 08 75 00 00 -> 87.500, 10 80 00 00 -> 108.000.
    const QString d = hexOf(slot.left(BlockSize::FmSlot));
    const QString whole = d.at(0) == QChar('1') ? d.left(3) : d.mid(1, 2);
    return whole + decimalPoint + d.mid(3, 2) + QStringLiteral("0");
}

Encoded encodeFmBlock(const ControlStore& func, int block, QChar decimalPoint) {
    QByteArray out;
    for (int slot = 0; slot < BlockSize::FmSlotsPerBlock; ++slot) {
        const int row = block * BlockSize::FmSlotsPerBlock + slot + 1;
        const auto bytes = encodeFmSlot(func.cell(Ctl::FmList, 1, row), decimalPoint);
        if (!bytes) return Encoded::failed(BadField{Ctl::FmList, 1, row, Str::BadFmFrequency});
        out += *bytes;
    }
    return Encoded::of(out);
}

void decodeFmBlock(const QByteArray& bytes, ControlStore& func, int block, QChar decimalPoint) {
    for (int slot = 0; slot < BlockSize::FmSlotsPerBlock; ++slot) {
        const int row = block * BlockSize::FmSlotsPerBlock + slot + 1;
        if (const auto text =
                decodeFmSlot(bytes.mid(slot * BlockSize::FmSlot, BlockSize::FmSlot), decimalPoint))
            func.setCell(Ctl::FmList, 1, row, *text);
    }
}

Encoded encodeDates(const ControlStore& func) {
    QByteArray out;
    for (const DateField& f : DateFields) {
        const QString name = QString::fromLatin1(f.edit);
        const QString text = func.text(name);
        // "2099-10-01": the radio keeps the year's last two digits, the month and the day.
        const QString digits =
            text.size() >= 10 ? text.mid(2, 2) + text.mid(5, 2) + text.mid(8, 2) : QString();
        const auto bytes = bcdBytes(digits);
        if (!bytes || digits.isEmpty()) return Encoded::failed(BadField{name, -1, -1, Str::BadDate});
        out += *bytes;
    }
    return Encoded::of(out);
}

void decodeDates(const QByteArray& bytes, ControlStore& func) {
    if (bytes.size() < BlockSize::DatesWritten || quint8(bytes.at(0)) == 0xFF) return;
    for (const DateField& f : DateFields) {
        const QByteArray date = bytes.mid(f.offset, 3);
        if (!bcdValue(date)) continue;
        const QString d = hexOf(date);
        func.setText(QString::fromLatin1(f.edit),
                     QStringLiteral("20") + d.left(2) + QChar('-') + d.mid(2, 2) + QChar('-') + d.mid(4, 2));
    }
}

QByteArray programmingStamp(const QDateTime& when, const QString& administrator) {
    QByteArray out = stampDate(when);
    out.append(char(0xFF));
    const QString name = administrator.left(7);
    QByteArray text(7, char(0xFF));
    for (int i = 0; i < name.size(); ++i) {
        const ushort u = name.at(i).unicode();
        text[i] = u >= 0x20 && u <= 0x7F ? char(u) : ' ';
    }
    out += text;
    out.append(char(name.size()));
    return out;
}

QByteArray factoryDateBytes(const QDateTime& when) {
    return stampDate(when) + QByteArray(1, char(0xFF));
}

std::optional<QByteArray> encodePassword(const QString& digits) {
    if (digits.size() > MaxPasswordDigits || !std::all_of(digits.begin(), digits.end(), isDigit))
        return std::nullopt;
    const QString hex = digits.leftJustified(15, QChar('F')) + QString::number(digits.size(), 16).toUpper();
    return QByteArray::fromHex(hex.toLatin1());
}

bool passwordMatches(const QByteArray& block, const QString& currentPassword) {
    if (block.size() < BlockSize::Password) return false;
    const int count = quint8(block.at(7)) & 0x0F;
    if (count == 0xF) return true; // no password set
    return hexOf(block.left(BlockSize::Password)).left(count) == currentPassword;
}

Encoded encodeBandTwo(const ControlStore& func) {
    QString hex;
    for (const char* upDown : BandTwoOrder) {
        const int mhz = func.position(QString::fromLatin1(upDown));
        if (mhz < 100 || mhz > 999)
            return Encoded::failed(BadField{QString::fromLatin1(upDown), -1, -1, Str::OutOfRange});
        hex += QString::number(mhz) + QChar('0');
    }
    return Encoded::of(QByteArray::fromHex(hex.toLatin1()));
}

void decodeBandTwo(const QByteArray& bytes, ControlStore& func) {
    if (bytes.size() < BlockSize::BandTwo) return;
    const QString hex = hexOf(bytes.left(BlockSize::BandTwo));
    int mhz[4];
    for (int i = 0; i < 4; ++i) {
        const QString digits = hex.mid(i * 4, 3);
        const bool decimal = std::all_of(digits.begin(), digits.end(), isDigit);
        // A never-written radio holds FF here: that limit keeps its value.
        mhz[i] = decimal ? digits.toInt() : func.position(QString::fromLatin1(BandTwoOrder[i]));
    }
    BandTwoLimits limits;
    limits.vhfUpper = mhz[0];
    limits.vhfLower = mhz[1];
    limits.uhfUpper = mhz[2];
    limits.uhfLower = mhz[3];
    setBandTwoLimits(func, limits);
    for (const char* upDown : BandTwoOrder) {
        const QString name = QString::fromLatin1(upDown);
        setUpDownShown(func, name, func.position(name));
    }
}

QByteArray encodeSquelchBase(const ControlStore& func) {
    QByteArray out;
    for (const char* upDown : SquelchOrder)
        out.append(char(std::clamp(func.position(QString::fromLatin1(upDown)), 0, 255)));
    return out;
}

void decodeSquelchBase(const QByteArray& block, ControlStore& func) {
    if (block.size() < SquelchOffset + BlockSize::SquelchBase) return;
    for (int i = 0; i < BlockSize::SquelchBase; ++i)
        setUpDownShown(func, QString::fromLatin1(SquelchOrder[i]), quint8(block.at(SquelchOffset + i)));
}

Encoded encodePowerOnMessage(const ControlStore& func) {
    // The edit takes 7 characters, but a read fills all 8 bytes: such a message goes back as it came.
    const auto bytes =
        radioTextBytes(func.text(PowerOnText), BlockSize::PowerOnMessage, BlockSize::PowerOnMessage);
    if (!bytes) return Encoded::failed(BadField{PowerOnText, -1, -1, Str::BadText});
    return Encoded::of(*bytes);
}

void decodePowerOnMessage(const QByteArray& bytes, ControlStore& func) {
    if (bytes.size() < BlockSize::PowerOnMessage) return;
    func.setText(PowerOnText, radioText(bytes.left(BlockSize::PowerOnMessage)));
}
