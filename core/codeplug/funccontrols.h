// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/numbers.h"
#include "core/codeplug/controlstore.h"
#include <QList>
#include <QString>

// Defines every control of the optional functions window with its caption, items, range,
// maximum length and initial value, and attaches the data rules that tie controls together
// (FuncRules, codeplug/funcrules.h), so the rules hold for the window, the document file and
// the radio read alike.
void defineFuncControls(ControlStore& func);

// The state a control of the window is defined with: its range, maximum length and initial value,
// before any rule or document moves them (band two's upper limits follow their lower limits).
// Ends the program for a name the window does not have.
const ControlState& funcControlDefinition(const QString& name);

// How an edit shows the position of its up-down.
enum class EditShows {
    Number, // the position itself ("144", "600" ms)
    Tenths, // the position / 10 with one decimal in the system separator ("1.5" s)
};

// An up-down and the edit beside it. The up-down's position is the value; the edit shows it.
struct UpDownPair {
    const char* upDown;
    const char* edit;
    EditShows shows;
};
const QList<UpDownPair>& upDownPairs();
// The edit of an up-down and the up-down of an edit; empty when the control has no partner.
QString pairedEdit(const QString& upDown);
QString pairedUpDown(const QString& edit);

// The text an up-down's edit shows for `position` ("1.5" for UpDown1 at 15, "600" for UpDown5).
QString upDownText(const QString& upDown, int position, QChar decimalPoint = systemDecimalPoint());
