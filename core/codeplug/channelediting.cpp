// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/codeplug/channelediting.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include "core/codeplug/channeltable.h"
#include "core/codeplug/model.h"
#include <algorithm>
#include <cmath>

namespace {
// Each stepping column with its cycle of words; a cell holding none of them steps to the first
// value after the last one, i.e. the cycle's start.
struct StepCycle {
    QList<int> columns;
    QList<QString ValueWords::*> cycle;
};

const QList<StepCycle>& stepCycles() {
    static const QList<StepCycle> cycles = {
        {{Col::Power}, {&ValueWords::high, &ValueWords::mid, &ValueWords::low}},
        {{Col::Bandwidth}, {&ValueWords::wide, &ValueWords::narrow}},
        {{Col::Opt7, Col::Opt8, Col::Opt9, Col::Opt11, Col::PttId, Col::Dtmf, Col::Opt15, Col::Reverse,
          Col::Talkaround},
         {&ValueWords::off, &ValueWords::on}},
    };
    return cycles;
}

const StepCycle* cycleOf(int col) {
    for (const StepCycle& c : stepCycles())
        if (c.columns.contains(col)) return &c;
    return nullptr;
}

// The step list of the optional functions with the increment each step adds, in 10 Hz.
struct Step {
    const char* text;
    int increment;
};
constexpr Step Steps[] = {{"2.5KHz", 250}, {"5KHz", 500},     {"6.25KHz", 625},
                          {"10KHz", 1000}, {"12.5KHz", 1250}, {"25KHz", 2500}};

constexpr long long TenHzPerMHz = 100000;
} // namespace

bool isSteppingColumn(int col) {
    return cycleOf(col) != nullptr;
}

std::optional<QString> steppedValue(int col, const QString& cell, const ValueWords& words) {
    const StepCycle* c = cycleOf(col);
    if (!c) return std::nullopt;
    // Only the first word of the cycle is the fallback: power "anything else becomes High",
    // bandwidth "anything else becomes Wide", an option "anything else becomes Off".
    for (int i = 0; i + 1 < c->cycle.size(); ++i)
        if (cell == words.*(c->cycle.at(i))) return words.*(c->cycle.at(i + 1));
    return words.*(c->cycle.first());
}

bool frequencyCharAccepted(const QString& text, QChar typed, QChar decimalPoint, int minBeforeSeparator) {
    if (typed >= QChar('0') && typed <= QChar('9')) return true;
    return typed == decimalPoint && text.size() >= minBeforeSeparator && !text.contains(decimalPoint);
}

bool nameCharAccepted(QChar c) {
    return c.unicode() >= 0x20 && c.unicode() <= 0x7E && c != QChar('|');
}

QString nameFiltered(const QString& text) {
    QString out;
    for (QChar c : text)
        if (nameCharAccepted(c)) out += c;
    return out;
}

std::optional<QChar> toneChar(QChar typed) {
    const QChar c =
        typed == QChar('d') || typed == QChar('n') || typed == QChar('i') ? typed.toUpper() : typed;
    if ((c >= QChar('0') && c <= QChar('9')) || c == QChar('.') || c == QChar('D') || c == QChar('N') ||
        c == QChar('I'))
        return c;
    return std::nullopt;
}

std::optional<QString> ctcssFieldValue(const QString& text, QChar decimalPoint) {
    if (text.isEmpty()) return std::nullopt;
    const auto v = parseDecimal(text, decimalPoint);
    if (!v) return std::nullopt;
    return formatFixed(std::clamp(*v, 55.0, 255.0), 1, decimalPoint);
}

std::optional<int> stepIncrement(const QString& stepText) {
    for (const Step& s : Steps)
        if (stepText.trimmed().compare(QLatin1String(s.text), Qt::CaseInsensitive) == 0) return s.increment;
    return std::nullopt;
}

std::optional<int> stepIncrementAt(int position) {
    if (position < 0 || position >= int(std::size(Steps))) return std::nullopt;
    return Steps[position].increment;
}

std::optional<QString> nextAutoAddFrequency(const QString& rx, int increment, int lowerMHz, int upperMHz,
                                            QChar decimalPoint) {
    const auto f = parseDecimal(rx, decimalPoint);
    if (!f) return std::nullopt;
    // The cell holds five decimals, so rounding to 10 Hz recovers its exact value.
    long long v = std::llround(*f * double(TenHzPerMHz)) + increment;
    if (v > upperMHz * TenHzPerMHz || v < 0) v = lowerMHz * TenHzPerMHz;
    QString s = QString::asprintf("%lld.%05lld", v / TenHzPerMHz, v % TenHzPerMHz);
    if (decimalPoint != QChar('.')) s.replace(QChar('.'), decimalPoint);
    return s;
}

QString clampedFrequencyNote(const QString& typed, const QString& stored, const QString& bandText,
                             const Language& lang, QChar decimalPoint) {
    const auto mhz = parseDecimal(typed, decimalPoint);
    // The radio's whole range, the limits normaliseFrequency clamps to.
    if (!mhz || (*mhz >= 100 && *mhz <= 550)) return {};
    const auto kept = parseDecimal(stored, decimalPoint);
    const auto band = bandLimits(bandText);
    if (kept && band && (*kept < band->lower || *kept > band->upper))
        return lang.text(Str::FrequencyClampedOutsideBand).arg(typed, stored, bandText);
    return lang.text(Str::FrequencyClamped).arg(typed, stored);
}
