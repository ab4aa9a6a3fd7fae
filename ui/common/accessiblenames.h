// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
class QWidget;
class Language;

// Gives every interactive widget of a window (buttons, fields, spin boxes, lists, check boxes,
// tables) that a screen reader would otherwise find nameless the caption a sighted user reads
// beside it: the label that names it, the label left of it in its row and the heading above its
// column, the title of its group, its tooltip, or the caption of its window. An arrow button is
// named after the field it steps ("Channels, up"). Names come from the texts the window shows, so
// running this after each translation keeps them in the current language; names set elsewhere
// are left alone.
void nameWidgetsForAccessibility(QWidget* root, const Language& lang);

// Whether a widget is one the user works with (and so needs a name), not a part Qt builds inside
// another one (a combo box's line edit, a scroll area's bars).
bool isInteractiveWidget(const QWidget* widget);
