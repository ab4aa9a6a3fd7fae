// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/unsavedchanges.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

UnsavedAnswer askSaveChanges(QWidget* parent, const Language& lang) {
    QMessageBox box(QMessageBox::Warning, lang.text(Str::SaveChangesCaption),
                    lang.text(Str::SaveChangesQuestion),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("SaveChangesBox"));
    box.button(QMessageBox::Save)->setText(lang.text(Str::SaveButton));
    box.button(QMessageBox::Discard)->setText(lang.text(Str::DiscardButton));
    box.button(QMessageBox::Cancel)->setText(lang.text(Str::CancelButton));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return UnsavedAnswer::Save;
    case QMessageBox::Discard:
        return UnsavedAnswer::Discard;
    default:
        return UnsavedAnswer::Cancel;
    }
}

QString documentTitle(const QString& caption, const QString& path, bool modified) {
    QString title = caption;
    if (!path.isEmpty()) title += QStringLiteral(" - ") + QFileInfo(path).fileName();
    if (modified) title += QLatin1Char('*');
    return title;
}
