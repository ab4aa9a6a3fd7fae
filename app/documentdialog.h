// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <functional>
#include <optional>
class QWidget;
class Session;

// "另存为" (and "保存" for a document without a file): asks for a file name (suffix .qv19 added
// when none is typed, confirmation before replacing a file) and writes the document there.
// Returns the path written; nothing when cancelled or when writing failed (shown with the
// system's reason).
std::optional<QString> saveDocumentAsDialog(QWidget* parent, Session& session);
// "保存" for a document that came from a file: writes it there; false after showing a failure.
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
