// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the CSV channel-list import. Beyond "no crash, no sanitizer report":
// the report adds up (every note is a drop or a warning, in line order, and no two imported
// lines share a channel), and the channels an import leaves export as a list that imports again
// into the same channels without a drop.
#include "core/base/language.h"
#include "core/codeplug/csvchannels.h"
#include <QByteArray>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {
[[noreturn]] void finding(const QString& why) {
    std::fprintf(stderr, "finding: %s\n", qPrintable(why));
    std::abort();
}

QString rowsOf(const ChannelTable& t) {
    QStringList rows;
    for (int row = ChannelTable::FirstChannelRow; row <= ChannelTable::LastRow; ++row) {
        if (!t.rowInUse(row)) continue;
        QStringList cells;
        for (int col = 1; col < ChannelTable::Columns; ++col)
            cells << t.cell(col, row);
        rows << QString::number(row) + u':' + cells.join(u'|');
    }
    return rows.join(u'\n');
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    static const Language lang;
    static const ValueWords words = ValueWords::english();
    // The first byte picks the options and the table, so that every path is reached.
    const quint8 pick = bytes.isEmpty() ? 0 : quint8(bytes.at(0));
    const CsvImportOptions options{.renumber = (pick & 1) != 0, .replace = (pick & 2) != 0};
    ChannelTable table((pick & 4) != 0 ? Side::B : Side::A);
    const CsvImportReport report = importChannelsCsv(table, bytes, words, lang, options, QChar('.'));
    if (report.refusal) {
        if (report.imported || report.dropped || !report.notes.isEmpty())
            finding(QStringLiteral("refused, yet notes"));
        return 0;
    }
    int drops = 0;
    int lastLine = 0;
    for (const CsvNote& n : report.notes) {
        drops += n.dropped ? 1 : 0;
        if (n.line < lastLine) finding(QStringLiteral("notes out of line order at line %1").arg(n.line));
        lastLine = n.line;
    }
    if (drops != report.dropped || report.notes.size() != report.dropped + report.warnings)
        finding(QStringLiteral("the totals do not match the notes"));
    int inUse = 0;
    for (int row = ChannelTable::FirstChannelRow; row <= ChannelTable::LastRow; ++row)
        inUse += table.rowInUse(row) ? 1 : 0;
    if (inUse != report.imported)
        finding(QStringLiteral("%1 imported into %2 channels").arg(report.imported).arg(inUse));

    ChannelTable again(table.side());
    const CsvImportReport reimport =
        importChannelsCsv(again, exportChannelsCsv(table, words, QChar('.')), words, lang, {}, QChar('.'));
    if (reimport.dropped != 0 || reimport.imported != report.imported)
        finding(
            QStringLiteral("the exported list imports %1 of %2").arg(reimport.imported).arg(report.imported));
    if (rowsOf(again) != rowsOf(table))
        finding(QStringLiteral("exported and imported again differs:\n%1\n---\n%2")
                    .arg(rowsOf(table), rowsOf(again)));
    return 0;
}
