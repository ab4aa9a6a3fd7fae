// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/csvrecords.h"
#include <QStringDecoder>

// Splits CSV text into records, each with the file line it starts on. Quoted fields may hold
// commas, doubled quotes and line breaks; blank lines are skipped.
//
// A quote left open would swallow every later line. A quoted field that runs past its line and
// then ends anywhere but at a separator, or never ends, was such a quote: its record is marked
// and reading goes on at the line after the quote. The text up to the next quote holds no quote,
// so reading some of it twice keeps the work linear.
QList<CsvRecord> csvRecords(const QString& text, QChar separator) {
    QList<CsvRecord> out;
    CsvRecord rec;
    QString field;
    bool quoted = false, fieldStarted = false, spansLines = false;
    int line = 1, quoteLine = 1;
    qsizetype quoteAt = 0;
    rec.line = 1;
    auto endRecord = [&] {
        if (fieldStarted || !rec.fields.isEmpty() || !field.isEmpty()) {
            rec.fields.append(field);
            out.append(rec);
        }
        rec = CsvRecord{};
        field.clear();
        fieldStarted = false;
    };
    const auto separatorAt = [&](qsizetype i) {
        return i >= text.size() || text.at(i) == separator || text.at(i) == u'\r' || text.at(i) == u'\n';
    };
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool open = quoted && (i == text.size() || (text.at(i) == u'"' && spansLines &&
                                                          (i + 1 >= text.size() || text.at(i + 1) != u'"') &&
                                                          !separatorAt(i + 1)));
        if (open) {
            out.append(CsvRecord{rec.line, {}, true});
            rec = CsvRecord{};
            field.clear();
            fieldStarted = quoted = false;
            i = text.indexOf(u'\n', quoteAt);
            if (i < 0) break;
            line = quoteLine + 1;
            continue;
        }
        if (i == text.size()) break;
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    field += c;
                    ++i;
                } else
                    quoted = false;
            } else {
                if (c == u'\n') {
                    ++line;
                    spansLines = true;
                }
                field += c;
            }
            continue;
        }
        if (rec.fields.isEmpty() && field.isEmpty() && !fieldStarted) rec.line = line;
        if (c == u'"') {
            quoted = true;
            spansLines = false;
            fieldStarted = true;
            quoteAt = i;
            quoteLine = line;
        } else if (c == separator) {
            rec.fields.append(field);
            field.clear();
            fieldStarted = true;
        } else if (c == u'\r') {
        } else if (c == u'\n') {
            endRecord();
            ++line;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    endRecord();
    return out;
}

// The text of a channel list as other programs save it: UTF-8 (with or without a byte-order
// mark) or UTF-16 (a spreadsheet's "Unicode text", with its mark or told by its zero bytes), and
// with CR LF, LF or CR alone (older Mac programs) as line ends, which become LF.
QString csvText(const QByteArray& bytes) {
    const auto zeroBytesAt = [&](int parity) {
        qsizetype zeros = 0;
        const qsizetype n = std::min<qsizetype>(bytes.size(), 200);
        for (qsizetype i = parity; i < n; i += 2)
            zeros += bytes.at(i) == 0;
        return n >= 8 && zeros * 4 >= n / 2 * 3; // most bytes of that parity are zero
    };
    QString text;
    if (bytes.startsWith("\xFF\xFE") || (!bytes.startsWith("\xFE\xFF") && zeroBytesAt(1)))
        text = QStringDecoder(QStringConverter::Utf16LE)(bytes);
    else if (bytes.startsWith("\xFE\xFF") || zeroBytesAt(0))
        text = QStringDecoder(QStringConverter::Utf16BE)(bytes);
    else
        text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
}
