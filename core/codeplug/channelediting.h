// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/numbers.h"
#include "core/base/valuewords.h"
#include <QString>
#include <optional>
class Language;

// Rules of the channel editor that do not depend on widgets: what a click makes of a stepping
// cell, which typed characters a field takes, and the frequency arithmetic of auto-add.

// The value a click gives a stepping cell: power High -> Mid -> Low -> High, bandwidth
// Wide <-> Narrow, on/off options Off <-> On (anything unknown steps to High, Wide or Off).
// Empty for columns that do not step on a click.
[[nodiscard]] std::optional<QString> steppedValue(int col, const QString& cell, const ValueWords& words);
[[nodiscard]] bool isSteppingColumn(int col);

// Whether `typed` may join a frequency field that holds `text`: digits always; the decimal
// separator once, and only after at least `minBeforeSeparator` characters (3 for MHz, 2 for Hz).
[[nodiscard]] bool frequencyCharAccepted(const QString& text, QChar typed, QChar decimalPoint,
                                         int minBeforeSeparator);

// Channel names are stored in the document line format and in the radio as single bytes:
// printable ASCII only, and never "|", which separates the fields of a document line.
[[nodiscard]] bool nameCharAccepted(QChar c);
QString nameFiltered(const QString& text);

// A typed tone character as the tone field takes it ('d', 'n', 'i' become capitals); empty
// when the field drops it.
[[nodiscard]] std::optional<QChar> toneChar(QChar typed);

// The CTCSS frequency field on leaving: a number clamped to 55-255 Hz, "%.1f". Empty when the
// field is empty or holds no number, in which case the cell keeps its text.
[[nodiscard]] std::optional<QString> ctcssFieldValue(const QString& text,
                                                     QChar decimalPoint = systemDecimalPoint());

// Auto-add increment in units of 10 Hz for a step text of the optional functions ("2.5KHz" is
// 250, "25KHz" 2500); empty for a text that is no step.
[[nodiscard]] std::optional<int> stepIncrement(const QString& stepText);
// The same by position in the step list (0 "2.5KHz" ... 5 "25KHz").
[[nodiscard]] std::optional<int> stepIncrementAt(int position);

// The next auto-add RX frequency: `rx` plus `increment` (10 Hz units), or the lower band limit
// when that passes the upper one. Whole MHz limits. Counted in 10 Hz units so that a frequency
// just at the upper limit does not wrap through rounding. Empty when `rx` is not a number.
[[nodiscard]] std::optional<QString> nextAutoAddFrequency(const QString& rx, int increment, int lowerMHz,
                                                          int upperMHz,
                                                          QChar decimalPoint = systemDecimalPoint());

// What the status line says when a typed frequency lay beyond the radio's 100-550 MHz and the
// commit clamped it to `stored`: the value typed, the value kept, and that it lies outside the
// selected band `bandText` when it does. Empty when `typed` was within the range or no number.
[[nodiscard]] QString clampedFrequencyNote(const QString& typed, const QString& stored,
                                           const QString& bandText, const Language& lang,
                                           QChar decimalPoint = systemDecimalPoint());
