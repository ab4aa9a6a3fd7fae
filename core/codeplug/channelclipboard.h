// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/codeplug/channeltable.h"
#include <QList>
#include <QString>
#include <optional>

// Whole channels cut, copied and pasted, also between table A and table B, and an empty
// channel inserted. Every change is made through the table's cells, so whatever watches the
// table (the grid, the undo history) sees it as any other edit.

// The rows as text: a first line naming the format, then one line per row with the cells of
// columns 1-18 separated by tabs (the clipboard's text, readable in any editor).
QString channelsToText(const ChannelTable& table, const QList<int>& rows);
// The rows that `text` holds, 18 cells each; empty when it holds no channels.
QList<QStringList> channelsFromText(const QString& text);
// Writes `channels` into the rows from `firstRow` on, as far as the table reaches. Frequencies
// are normalised to the table's raster, a VFO row takes no name. The number of rows written.
int pasteChannels(ChannelTable& table, int firstRow, const QList<QStringList>& channels);
// An empty channel at `row`: the channels from there down move one row down. Refused (false,
// nothing changed) on a VFO row and when channel 99 is in use, which would fall off the end.
[[nodiscard]] bool insertEmptyChannel(ChannelTable& table, int row);
