// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <functional>
#include <optional>
class QWidget;
class Session;

// The save dialog of "保存", opened on `current` (the document's file, empty for none); a name
// typed without extension gets .qv19. Choosing another file that exists asks before it is
// replaced; the document's own file is replaced without a question. Empty when cancelled.
QString chooseSavePath(QWidget* parent, const Session& session, const QString& current);
// True when saving to `chosen` would replace a file other than the document's own `current`.
bool replacesAnotherFile(const QString& chosen, const QString& current);
// Writes the document to `path`; false after showing a failure.
bool saveDocumentToFile(QWidget* parent, Session& session, const QString& path);

// "打开": commits the pending channel edit, asks for a file and loads it. Returns the new main
// window caption when the file was accepted. A file of another model is ignored without a
// message; one that is not a document, or is cut short, is refused with one and changes nothing.
// Lines that could not be applied are listed in one message.
// `openedPath`, when given, receives the path of an accepted file.
std::optional<QString> openDocumentDialog(QWidget* parent, Session& session,
                                          std::function<void()> commitPendingEdit,
                                          QString* openedPath = nullptr);
// The same for a file already chosen (dropped on a channel table).
std::optional<QString> openDocumentFile(QWidget* parent, Session& session, const QString& path);
