// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
class Language;
class QWidget;

enum class UnsavedAnswer { Save, Discard, Cancel };

// "Save changes?" before the document is replaced (New, Open, Read) or the program ends: Save,
// Discard or Cancel, in the current language; Escape cancels.
UnsavedAnswer askSaveChanges(QWidget* parent, const Language& lang);

// The main window's title: the caption (model, band), the document's file name, and an asterisk
// while there are unsaved changes.
QString documentTitle(const QString& caption, const QString& path, bool modified);
