// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

class Language;

// The bytes of a file the user named, or why there are none (FileError, in the user's language).
struct FileRead {
    std::optional<QByteArray> bytes;
    QString error;
};

// Reads a file the user named (a document, a channel list, an alignment file). Only a regular
// file is read: a pipe or a terminal would wait for a writer forever and a device such as
// /dev/zero never ends. A file larger than `maxBytes` is refused whole rather than read in part,
// so that a wrong file cannot exhaust memory nor be mistaken for a short one.
FileRead readUserFile(const QString& path, qint64 maxBytes, const Language& lang);

// Text from such a file as a message shows it: control characters (a bell, an escape that would
// start a terminal sequence, a carriage return that would hide the line) as \xHH.
QString escapeControls(const QString& text);
