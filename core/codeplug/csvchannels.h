// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/fileread.h"
#include "core/base/numbers.h"
#include "core/base/valuewords.h"
#include "core/codeplug/channeltable.h"
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
class Language;
class Session;

// Channel lists in the common 21-column CSV layout that other channel-list programs share.
// Only the columns the KT-520 can hold are read; every other cell of an imported row takes the
// new-channel defaults.

// Channel numbers: by default a line's Location is its channel, except that a list whose lowest
// location is 0 (as many programs count) moves up by one, which the report says once.
struct CsvImportOptions {
    bool renumber = false;    // accepted lines fill channels 1, 2, 3 ... in file order
    bool replace = false;     // empty the channel rows first (only when a line is imported)
    bool keepNumbers = false; // the file's locations exactly, also for a list counted from 0
    // The selected band one and band two ("400-470MHz"): a channel outside them is imported
    // with the warning the document check gives. Empty: not checked.
    QString band{};
    QString bandTwo{};
};
// `options` with the bands the document has selected.
CsvImportOptions withSelectedBands(CsvImportOptions options, const Session& session);

// One dropped line or warning, by its line number in the file (the header is line 1).
struct CsvNote {
    int line = 0;
    QString reason; // in the current language
    bool dropped = false;
};

struct CsvImportReport {
    // Set when the file has no header with the columns Location and Frequency, or no line after
    // it; nothing changed.
    std::optional<QString> refusal;
    int imported = 0;
    int dropped = 0;
    int warnings = 0;
    QList<CsvNote> notes; // in line order

    // Every note as "line N: reason", then the totals; one text per line.
    QStringList lines(const Language& lang) const;
};

// Imports into `table`; the cells are written in `words` and frequencies with `decimalPoint`.
// A line whose location an earlier imported line already took is dropped. When no line is
// imported the table stays as it was.
CsvImportReport importChannelsCsv(ChannelTable& table, const QByteArray& bytes, const ValueWords& words,
                                  const Language& lang, const CsvImportOptions& options = {},
                                  QChar decimalPoint = systemDecimalPoint());

// One line per channel in use, CR LF, UTF-8 without BOM.
QByteArray exportChannelsCsv(const ChannelTable& table, const ValueWords& words,
                             QChar decimalPoint = systemDecimalPoint());

// The file edges: a message for the user (FileError) on failure. A channel list is a few KB;
// reading refuses more than 4 MB, and anything but a regular file. Writing replaces an existing
// file only once the new one is complete.
FileRead readChannelsCsvFile(const QString& path, const Language& lang);
[[nodiscard]] std::optional<QString> writeChannelsCsvFile(const QString& path, const ChannelTable& table,
                                                          const ValueWords& words, const Language& lang);
