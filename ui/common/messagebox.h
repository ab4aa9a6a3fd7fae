// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QMessageBox>
#include <QString>
#include <functional>
class Language;
class QWidget;

// The one way a window talks to the user in a message box. Windows keep a hook of this type so
// that tests answer without a modal loop; by default it is showMessageBox.
using MessageBoxHook =
    std::function<QMessageBox::StandardButton(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                              const QString& text, QMessageBox::StandardButtons buttons)>;

QMessageBox::StandardButton showMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                           const QString& text, QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

// A warning with an OK button; `details` behind the box's "Show Details" when not empty.
void showWarning(QWidget* parent, const QString& caption, const QString& text, const QString& details = {});

// The message for a typed text that is not a number, in the current language.
QString numberConversionText(const Language& lang, const QString& typed);
