// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
class ChannelWindow;
class ChannelTable;
class QTableView;
class Session;

// The right-click menu of a channel grid, with the same commands on the keyboard (Ctrl+X,
// Ctrl+C, Ctrl+V, Insert): cut, copy and paste whole channels through the system clipboard (also
// from one table into the other), insert an empty channel, delete channels. The commands act on
// the selected rows, or on the row clicked.
void installChannelContextMenu(ChannelWindow* window, QTableView* grid, Session& session,
                               ChannelTable& table);

// The column headers of a channel grid: a tooltip on each saying in one line what the column
// holds, and every column widened to its header text in the current language.
void installChannelHeaderTips(QTableView* grid, Session& session);
