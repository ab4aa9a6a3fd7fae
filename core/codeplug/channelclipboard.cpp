// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/channelclipboard.h"
#include <QStringList>

namespace {
const QString FormatLine = QStringLiteral("KT-520 channels");
constexpr int Cells = ChannelTable::Columns - 1; // columns 1-18
} // namespace

QString channelsToText(const ChannelTable& table, const QList<int>& rows) {
    QStringList lines{FormatLine};
    for (int row : rows) {
        if (row < 1 || row > ChannelTable::LastRow) continue;
        QStringList cells;
        for (int col = 1; col < ChannelTable::Columns; ++col)
            cells << table.cell(col, row);
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QList<QStringList> channelsFromText(const QString& text) {
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    if (lines.isEmpty() || lines.first() != FormatLine) return {};
    QList<QStringList> channels;
    for (qsizetype i = 1; i < lines.size() && channels.size() < ChannelTable::LastRow; ++i) {
        const QStringList cells = lines.at(i).split(QLatin1Char('\t'));
        if (cells.size() != Cells) continue; // the empty last line, or a line not of ours
        channels << cells;
    }
    return channels;
}

int pasteChannels(ChannelTable& table, int firstRow, const QList<QStringList>& channels) {
    int written = 0;
    for (const QStringList& cells : channels) {
        const int row = firstRow + written;
        if (row < 1 || row > ChannelTable::LastRow || cells.size() != Cells) break;
        table.clearRow(row);
        if (!cells.at(Col::RxFreq - 1).isEmpty()) {
            for (int col = 1; col < ChannelTable::Columns; ++col)
                table.setCell(col, row, cells.at(col - 1));
            // Side A steps 2.5 kHz, side B 5 kHz: a channel from the other table is moved onto
            // this table's raster.
            for (int col : {int(Col::RxFreq), int(Col::TxFreq)})
                if (!table.cell(col, row).isEmpty()) table.sendcell(col, row);
            if (row < ChannelTable::FirstChannelRow) table.setCell(Col::Name, row, {});
        }
        ++written;
    }
    return written;
}

bool insertEmptyChannel(ChannelTable& table, int row) {
    if (row < ChannelTable::FirstChannelRow || row > ChannelTable::LastRow) return false;
    if (!table.rowEmpty(ChannelTable::LastRow)) return false;
    for (int r = ChannelTable::LastRow; r > row; --r)
        table.swapRows(r, r - 1);
    table.clearRow(row);
    return true;
}
