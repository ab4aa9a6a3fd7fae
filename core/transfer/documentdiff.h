// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/codeplug/channeltable.h"
#include <QList>
#include <QString>

class Session;

// One place where two documents differ, named as the windows show it.
struct DocumentDifference {
    enum class Part { Table, Options, Fm, CallList };
    Part part = Part::Table;
    Side side = Side::A; // Table
    int row = 0;         // Table: row 1-102; Fm, CallList: grid row
    int column = 0;      // Table: column 1-18
    QString control;     // Options, Fm, CallList: the control of the optional functions
    QString place;       // "A 57 RX Freq", "Options › Squelch level", "FM 4", "Call list 2"
    QString before;      // the first document's value ("(empty)" for none)
    QString after;       // the second's
    // "place: before → after"
    QString line() const;
};

// Every channel cell of both tables, then every setting, FM row and call-list row that differs,
// in the order the document file keeps them. Names and empty values in `first`'s language.
QList<DocumentDifference> compareDocuments(const Session& first, const Session& second);
