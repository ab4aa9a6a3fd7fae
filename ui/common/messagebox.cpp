// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/messagebox.h"
#include "core/base/language.h"
#include "core/base/messages.h"

QMessageBox::StandardButton showMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                           const QString& text, QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, caption, text, buttons, parent);
    if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
    return QMessageBox::StandardButton(box.exec());
}

void showWarning(QWidget* parent, const QString& caption, const QString& text, const QString& details) {
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok, parent);
    box.setDetailedText(details);
    box.exec();
}

QString numberConversionText(const Language& lang, const QString& typed) {
    // A language file may lack the place holder; the typed text then follows the message.
    const QString message = lang.text(Str::NumberConversion);
    return message.contains(QLatin1String("%1")) ? message.arg(typed) : message + QLatin1Char(' ') + typed;
}
