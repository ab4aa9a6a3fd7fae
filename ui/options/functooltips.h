// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
class Language;
class QWidget;

// One line on every optional function, as the tooltip of its control and of the caption beside
// it, in the current language.
void applyFuncTooltips(QWidget* window, const Language& lang);
