// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/base/numbers.h"
#include <QLocale>
#include <cmath>

QChar systemDecimalPoint() {
    const QString dp = QLocale::system().decimalPoint();
    return dp.isEmpty() ? QChar('.') : dp.at(0);
}

std::optional<double> parseDecimal(const QString& text, QChar decimalPoint) {
    QString t = text.trimmed();
    if (decimalPoint != QChar('.')) t.replace(decimalPoint, QChar('.'));
    if (t.isEmpty()) return std::nullopt;
    for (QChar c : t)
        if (!(c.isDigit() || c == '.' || c == '-' || c == '+')) return std::nullopt;
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

QString formatFixed(double value, int decimals, QChar decimalPoint) {
    QString s = QString::asprintf("%.*f", decimals, value);
    if (decimalPoint != QChar('.')) s.replace(QChar('.'), decimalPoint);
    return s;
}
