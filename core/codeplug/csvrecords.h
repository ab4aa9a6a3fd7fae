// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One record of a channel list: its fields and the file line it starts on.
struct CsvRecord {
    int line = 0;
    QStringList fields;
    bool unclosedQuote = false; // a quote opened in it never closes: the record is lost
};

// Splits CSV text into records. Quoted fields may hold separators, doubled quotes and line
// breaks; blank lines are skipped; a quote left open loses only its own record.
QList<CsvRecord> csvRecords(const QString& text, QChar separator);

// The text of a channel list as other programs save it: UTF-8 or UTF-16, any line ends, as LF.
QString csvText(const QByteArray& bytes);
