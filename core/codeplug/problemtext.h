// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/codeplug/channeltable.h"
#include <QString>
class Session;

// The one wording of a value the radio cannot take, for the check before a write and for the
// write itself, in the current language: where it is and why, with the value when there is one.

// "table A, row 05, column 接收频率: ..." — the channel by its label, the column by its header.
QString cellProblemText(const Session& session, Side side, int row, int col, int reason,
                        const QString& value);
// A control of the optional functions by its caption, with the grid row of the call
// list (counted from 0 as the window shows it) or of the FM list.
QString fieldProblemText(const Session& session, const QString& control, int gridRow, int reason,
                         const QString& value);
// Any other place, by a caption of the windows (its trailing colon dropped).
QString labelledProblemText(const Session& session, const QString& builtinLabel, const QString& control,
                            int reason, const QString& value);
