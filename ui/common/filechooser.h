// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
class QWidget;

// The file dialogs of the program's commands. On the desktop they are Qt's file dialogs. In the
// browser the page's own chooser brings the user's file into the page's folder, where it is read
// by the same code as on the desktop; a file saved there leaves the page through the browser's
// save dialog, or as a download where the browser has none.
struct FileChoice {
    QString caption;
    // As for QFileDialog: "QOVRAN  文件 (*.qv19)".
    QString filter;
    // Given to a name typed without extension when saving; empty for none.
    QString suffix;
    // A file to start on (its name is proposed when saving), or else a folder; may be empty.
    QString start;
    // False where the caller asks itself before another file is replaced.
    bool confirmOverwrite = true;
};

namespace FileChooser {
// The chosen file's path; empty when the user cancels.
QString toOpen(QWidget* parent, const FileChoice& choice);
QString toSave(QWidget* parent, const FileChoice& choice);
// After a file was written in full to a path toSave gave (or a document's path kept from it):
// the browser hands it to the file or download the user chose. Nothing on the desktop.
void saved(const QString& path);
} // namespace FileChooser
