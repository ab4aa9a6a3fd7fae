// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/codeplug/channeltable.h"
#include <QList>
#include <QString>
class Session;

// A value of the document that the radio cannot take as it stands. The write procedure refuses
// to send anything while an error is present; a warning is shown but does not stop it.
struct Problem {
    enum class Severity { Warning, Error };
    enum class Place {
        Cell,          // a channel table cell: side, row 1-102, column 1-18
        Field,         // a control of the optional functions; gridRow for call list and FM cells
        MainSelection, // a list of the main window's selection panel (band one, band two)
    };
    Severity severity = Severity::Error;
    Place place = Place::Field;
    Side side = Side::A;
    int row = 0; // Cell: table row; MainSelection: the list entry (1-based) at fault, 0 = the selection
    int col = 0;
    QString control;
    int gridRow = 0;
    QString message; // where and why, in the current language
};

// Every value of the session's document that could not be written to a radio: channel cells of
// used rows, the optional functions, the call and FM lists, dates, and the band selections.
[[nodiscard]] QList<Problem> validateDocument(const Session& session);

[[nodiscard]] bool hasErrors(const QList<Problem>& problems);

// The document line that holds the value; 0 for values the file does not hold (passwords, the
// 32nd FM slot, squelch base values).
int documentLineOf(const Problem& problem);
