// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// How a window element's text is made in the current language: the string `number`, with a
// fixed prefix and suffix ("P1 " + long-press word, channel window caption + " A").
struct CaptionRule {
    int number = -1;
    QString prefix;
    QString suffix;
};

// The rule of a window element, keyed by its built-in Simplified Chinese caption (menu items,
// labels, check boxes, group boxes, tabs, buttons, window captions); empty when the element
// keeps its caption in every language.
[[nodiscard]] std::optional<CaptionRule> captionRule(const QString& builtin);

// The built-in Simplified Chinese text of a string number: the text of lang/cha_dll.dll, which is
// compiled in, so that a missing or damaged language file still leaves readable windows.
QString builtinText(int number);

// Every string number that has a built-in text, ascending; and every caption that has a rule, in
// table order. Both serve the checks of the language files.
QList<int> builtinTextNumbers();
QStringList captionRuleCaptions();

// String numbers of the channel table headers, column 0-18; 0 marks the fixed texts of columns
// 12 and 13 ("PTT ID", "DTMF").
int channelHeaderNumber(int column);
