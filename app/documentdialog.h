#pragma once
#include <QString>
#include <functional>
#include <optional>
class QWidget;
class Session;

// "保存": commits the pending channel edit, asks for a file name (suffix .qv19 added when none is
// typed, confirmation before replacing a file) and writes the document; a failure is shown with
// the system's reason.
void saveDocumentDialog(QWidget* parent, Session& session, std::function<void()> commitPendingEdit);

// "打开": commits the pending channel edit, asks for a file and loads it. Returns the new main
// window caption when the file was accepted; a file that is not a document of this radio is
// ignored without a message. Lines that could not be applied are listed in one message.
// `openedPath`, when given, receives the path of an accepted file.
std::optional<QString> openDocumentDialog(QWidget* parent, Session& session,
                                          std::function<void()> commitPendingEdit,
                                          QString* openedPath = nullptr);
// The same for a file already chosen (dropped on a channel table).
std::optional<QString> openDocumentFile(QWidget* parent, Session& session, const QString& path);
