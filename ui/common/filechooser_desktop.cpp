// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/filechooser.h"
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace {
QString ask(QWidget* parent, const FileChoice& choice, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, choice.caption);
    dialog.setAcceptMode(mode);
    if (!choice.filter.isEmpty()) dialog.setNameFilter(choice.filter);
    if (mode == QFileDialog::AcceptSave) {
        dialog.setDefaultSuffix(choice.suffix);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!choice.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    const QFileInfo start(choice.start);
    if (!choice.start.isEmpty() && start.isDir())
        dialog.setDirectory(choice.start);
    else if (!choice.start.isEmpty() && start.dir().exists())
        dialog.selectFile(choice.start);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}
} // namespace

QString FileChooser::toOpen(QWidget* parent, const FileChoice& choice) {
    return ask(parent, choice, QFileDialog::AcceptOpen);
}

QString FileChooser::toSave(QWidget* parent, const FileChoice& choice) {
    return ask(parent, choice, QFileDialog::AcceptSave);
}

void FileChooser::saved(const QString&) {}
