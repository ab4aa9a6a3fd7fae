// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/keyrules.h"

std::optional<QChar> filterKey(KeyRule rule, QChar c) {
    const bool digitOrSign = (c >= '0' && c <= '9') || c == '*' || c == '#';
    switch (rule) {
    case KeyRule::DtmfCode:
        if (digitOrSign || (c >= 'A' && c <= 'D')) return c;
        if (c >= 'a' && c <= 'd') return c.toUpper();
        return std::nullopt;
    case KeyRule::DigitCode:
        return digitOrSign ? std::optional<QChar>(c) : std::nullopt;
    case KeyRule::RadioText:
        return c.unicode() >= 0x20 && c.unicode() <= 0x7E && c != '|' ? std::optional<QChar>(c)
                                                                      : std::nullopt;
    }
    return std::nullopt;
}

std::optional<QString> filterText(KeyRule rule, const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const auto k = filterKey(rule, c);
        if (!k) return std::nullopt;
        out += *k;
    }
    return out;
}
