// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
class QObject;
class QWidget;
class Language;

// Puts the current language's texts on every element of a window that carries a built-in
// caption with a string number: the window title, labels, buttons, check boxes, group boxes,
// tab titles, menus and actions. The built-in caption is remembered on the element the first
// time, so switching back and forth always starts from it.
void translateWidgetTree(QWidget* root, const Language& lang);

// The built-in caption remembered for an element (its text at the first translation).
QString builtinCaption(const QObject* element, const QString& current);
