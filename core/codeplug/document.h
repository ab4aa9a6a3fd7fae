// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/fileread.h"
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>
class Session;

// A document line that could not be applied, with the reason in the current language.
struct LineProblem {
    int line = 0;
    QString reason;
};

struct OpenResult {
    // Why a file was ignored: its first line is not the header, its TYPE line names a model
    // that the model list does not hold, or it ends before its last line (the missing lines are
    // in notApplied). Nothing in the session changes then.
    enum class Refusal { None, NotADocument, UnknownModel, Incomplete };
    Refusal refusal = Refusal::NotADocument;
    QString caption; // "KT-520RX   [400-470MHz]" once accepted
    // In line order; the controls of these lines kept their state, except a channel line whose
    // label is damaged, which is still read by position.
    QList<LineProblem> notApplied;
    // Incomplete: the first line that stands where another belongs (lines deleted from the
    // middle), said in a sentence for the user; empty when the file is only cut short.
    std::optional<QString> misfit;

    bool accepted() const { return refusal == Refusal::None; }
};

// SaveDocument: the 344 lines of the session's document, CR LF, Chinese texts in GBK.
QByteArray saveDocument(const Session& session);

// OpenDocument from the bytes of a file: any bytes are safe. The whole file is looked at before
// anything is applied: an accepted file selects its model (running the model change) and its
// band, replaces the optional functions line by line and both channel tables; a refused one,
// also one cut short anywhere, changes nothing.
OpenResult openDocument(Session& session, const QByteArray& bytes);

// The file edges: a message for the user (FileError with the system's reason) on failure.
// Writing replaces an existing file only once the new one is complete.
[[nodiscard]] std::optional<QString> writeDocumentFile(const QString& path, const Session& session);
FileRead readDocumentFile(const QString& path, const Session& session);

// The mark of a backup kept from a read that failed part way ("…_Qovran-partial.qv19", also
// "…-partial-2.qv19"): its file looks whole, but holds the radio's values only as far as the
// read came.
inline const QString PartialBackupMark = QStringLiteral("-partial");
bool isPartialBackup(const QString& path);

// The main window caption after an open: model text, three blanks, the band in brackets.
QString documentCaption(const QString& model, const QString& band);
