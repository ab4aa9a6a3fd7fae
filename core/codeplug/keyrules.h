// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QChar>
#include <QString>
#include <optional>

// What may be typed into the text fields of the optional functions window.
enum class KeyRule {
    DtmfCode,  // 0-9, A-D, "*", "#"; a-d are taken as A-D
    DigitCode, // 0-9, "*", "#" (PTT ID codes, radio passwords)
    RadioText, // what the radio's display and the document's line format can hold:
               // printable ASCII without "|", which separates the fields of a document line
};

// The character a typed character becomes in a field of this kind; empty when it is dropped.
[[nodiscard]] std::optional<QChar> filterKey(KeyRule rule, QChar typed);

// The text as such a field takes it (a-d raised to A-D in DTMF codes); empty when any
// character of it would be dropped, so a paste is taken whole or not at all.
[[nodiscard]] std::optional<QString> filterText(KeyRule rule, const QString& text);
