// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QChar>
#include <QString>
#include <optional>

// The user sees numbers with the system's decimal separator; frames and files never depend on
// the process locale, so every conversion goes through these helpers.
QChar systemDecimalPoint();

// Parses a decimal number written with `decimalPoint` (a '.' is accepted as well, since texts
// may come from another installation). Leading and trailing blanks are ignored.
[[nodiscard]] std::optional<double> parseDecimal(const QString& text,
                                                 QChar decimalPoint = systemDecimalPoint());

// Formats with a fixed number of decimals in the C locale, then puts `decimalPoint` in place.
QString formatFixed(double value, int decimals, QChar decimalPoint = systemDecimalPoint());
