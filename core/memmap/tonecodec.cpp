// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/memmap/tonecodec.h"
#include "core/codeplug/channeltable.h"

namespace {

constexpr int CtcssCount = 58;
constexpr int DcsCount = 107;

bool allDigits(const QString& s) {
    if (s.isEmpty()) return false;
    for (QChar c : s)
        if (c < QChar('0') || c > QChar('9')) return false;
    return true;
}

int hexValue(QChar c) {
    if (c >= QChar('0') && c <= QChar('9')) return c.unicode() - '0';
    if (c >= QChar('A') && c <= QChar('F')) return c.unicode() - 'A' + 10;
    if (c >= QChar('a') && c <= QChar('f')) return c.unicode() - 'a' + 10;
    return -1;
}

QString twoHex(int n) {
    return QString::asprintf("%.2X", n);
}

// The DTMF digit table: nibble n is sent for the character at position n.
constexpr char NibbleChars[] = "D1234567890*#ABC";

int nibbleOf(QChar c) {
    if (c == QChar('#')) return 0xC;
    if (c == QChar('*')) return 0xB;
    const int h = hexValue(c);
    if (h < 0 || h >= 0xE) // E and F have no DTMF key
        return -1;
    // The character is read as a hex digit: 0 and A-D move, 1-9 stay.
    static constexpr int fromHexDigit[14] = {0xA, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0xD, 0xE, 0xF, 0x0};
    return fromHexDigit[h];
}

} // namespace

QString CAL_ctc(int wholeHz) {
    const QStringList& tones = ctcssTones();
    for (int i = 0; i < tones.size(); ++i) {
        const QString& t = tones.at(i);
        if (t.left(t.indexOf(QChar('.'))).toInt() == wholeHz) return twoHex(i + 1);
    }
    return {};
}

QString CAL_dcs(int codeDigits) {
    const int i = dcsCodes().indexOf(codeDigits);
    return i < 0 ? QString() : twoHex(i + 1);
}

std::optional<int> ctcssTenths(const QString& text, QChar decimalPoint) {
    QString t = text.trimmed();
    if (decimalPoint != QChar('.')) t.replace(decimalPoint, QChar('.'));
    const int dot = t.indexOf(QChar('.'));
    const QString whole = dot < 0 ? t : t.left(dot);
    const QString fraction = dot < 0 ? QString() : t.mid(dot + 1);
    if (whole.isEmpty() && fraction.isEmpty()) return std::nullopt;
    if ((!whole.isEmpty() && !allDigits(whole)) || (!fraction.isEmpty() && !allDigits(fraction)))
        return std::nullopt;
    if (whole.size() > 6) // far beyond any tone; also keeps the sum below overflow
        return std::nullopt;
    // Worked on the digits, so that 100.1 gives 1001 and not the 1000 of a binary product.
    const int tenth = fraction.isEmpty() ? 0 : fraction.at(0).unicode() - '0';
    return (whole.isEmpty() ? 0 : whole.toInt()) * 10 + tenth;
}

std::optional<QString> writecode(int kind, const QString& cellText, const QString& ctcssFreqText,
                                 const ValueWords& words, QChar decimalPoint) {
    const QString t = cellText.trimmed();
    if (t.isEmpty() || t == words.off) return QStringLiteral("FF00");
    const QChar last = t.back();
    if (last == QChar('I') || last == QChar('N')) {
        const QString digits = t.mid(1, 3);
        const QString number = allDigits(digits) ? CAL_dcs(digits.toInt()) : QString();
        if (number.isEmpty()) return std::nullopt;
        return number + (last == QChar('I') ? QStringLiteral("03") : QStringLiteral("02"));
    }
    // A CTCSS tone is known by its whole-hertz part: "100.0" -> 100, "88.5" -> 88.
    const QString whole = t.left(t.size() == 5 ? 3 : 2);
    const QString number = allDigits(whole) ? CAL_ctc(whole.toInt()) : QString();
    if (number.isEmpty()) return std::nullopt;
    if (kind != ToneKind::Tx || ctcssFreqText.trimmed().isEmpty()) return number + QStringLiteral("01");
    const std::optional<int> x = ctcssTenths(ctcssFreqText, decimalPoint);
    if (!x || *x > 0xFFF) return std::nullopt;
    return number + QString::asprintf("%.3X", *x).left(1) + QStringLiteral("1");
}

QString sendCTC(const QString& code, const ValueWords& words) {
    if (code.size() != 4) return words.off;
    const int hi = hexValue(code.at(0));
    const int lo = hexValue(code.at(1));
    const int kind = hexValue(code.at(3));
    if (hi < 0 || lo < 0) return words.off;
    const int number = hi * 16 + lo;
    int entry = -1;
    if (kind == 1 && number >= 1 && number <= CtcssCount)
        entry = number;
    else if (kind == 2 && number >= 1 && number <= DcsCount)
        entry = number + CtcssCount;
    else if (kind == 3 && number >= 1 && number <= DcsCount)
        entry = number + CtcssCount + DcsCount;
    if (entry < 0) return words.off;
    return toneListEntry(entry, words);
}

std::optional<QString> DTMFToHex(const QString& text, int count) {
    if (count < 0 || count > text.size()) return std::nullopt;
    QString hex;
    hex.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int n = nibbleOf(text.at(i));
        if (n < 0) return std::nullopt;
        hex += QChar(QLatin1Char("0123456789ABCDEF"[n]));
    }
    return hex;
}

std::optional<QString> HexToDTMF(const QString& hex, int count) {
    if (count < 0 || count > hex.size()) return std::nullopt;
    QString text;
    text.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int n = hexValue(hex.at(i));
        if (n < 0) return std::nullopt;
        text += QChar(QLatin1Char(NibbleChars[n]));
    }
    return text;
}
