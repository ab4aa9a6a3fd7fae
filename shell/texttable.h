#pragma once
#include <QString>

// The string number of a window element, keyed by the element's built-in Simplified Chinese
// caption (menu items, labels, check boxes, group boxes, tabs, buttons, window captions);
// -1 when the element keeps its caption in every language.
int captionNumber(const QString& builtin);

// The built-in Simplified Chinese text of a string number, or a short label where the windows
// have no built-in text (channel table headers, list items of the language tables).
QString builtinText(int number);

// String numbers of the channel table headers, column 0-18; 0 marks the fixed texts of columns
// 12 and 13 ("PTT ID", "DTMF").
int channelHeaderNumber(int column);
