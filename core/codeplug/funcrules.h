// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/numbers.h"
#include <QHash>
#include <QObject>
#include <QString>
#include <optional>
#include <span>
class ControlStore;

// The data rules between the controls of the optional functions window. They follow every
// change of the store, whoever makes it (the window, the document file, a radio read), and act
// only when a watched value really changes (a list's position, a check box's state, an edit's
// text, an up-down's position), never on a change of items, caption or enabled state.
class FuncRules : public QObject {
    Q_OBJECT
public:
    explicit FuncRules(ControlStore& store);
    // Rules for a store that holds exactly what `like`'s store holds (a copy made with
    // ControlStore::copyControls): the values seen last are taken over instead of read again.
    FuncRules(ControlStore& store, const FuncRules& like);

private:
    void onChanged(const QString& name);
    QString valueKey(const QString& name) const;
    void syncEditToUpDown(const QString& edit);
    void syncUpDownToEdit(const QString& upDown);

    ControlStore& m_store;
    QHash<QString, QString> m_last; // last seen value of every watched control
    QString m_editDriving;          // the edit whose change is moving its up-down
};

// Attaches the rules to the store (the store owns them).
FuncRules* attachFuncRules(ControlStore& func);

// Parses a decimal number into whole units of 10^-decimals, cutting further digits off toward
// zero, exactly as written (no binary rounding: "2.3" is 23 tenths, "98.15" is 1963 twentieths
// of a MHz). Accepts the given separator or '.', a sign and surrounding blanks. Values too large
// to hold saturate. Empty when the text is not a number.
[[nodiscard]] std::optional<qint64> parseScaled(const QString& text, int decimals,
                                                QChar decimalPoint = systemDecimalPoint());

// The edits whose text the user types as a whole number (Edit17, Edit10, Edit24); the other
// edits beside an up-down change only through it.
std::span<const char* const> typedNumberEdits();

// An integer as the calls-per-minute, auto-reset and announce-time edits take it.
[[nodiscard]] std::optional<int> parseWholeNumber(const QString& text);

// FM frequency normalisation: clamp to 87.5-108 MHz, cut down to the 50 kHz raster, "%.3f" with
// the separator. An empty text stays empty; a text that is not a number gives nothing.
[[nodiscard]] std::optional<QString> normaliseFmFrequency(const QString& text,
                                                          QChar decimalPoint = systemDecimalPoint());

// The long-press time of Edit1 in tenths of a second, cut toward zero (not clamped).
[[nodiscard]] std::optional<int> longPressTenths(const QString& text,
                                                 QChar decimalPoint = systemDecimalPoint());

// When the optional functions window loses activation: Edit1 is rewritten from its value in the
// system's number format within 0.5-2.5 s and UpDown1 follows it (a text that is not a number
// returns to the up-down's value); the typed number edits (Edit17, Edit10, Edit24) show their
// up-down's value again, so what the window shows is what the radio gets.
void settleFuncEdits(ControlStore& func, QChar decimalPoint = systemDecimalPoint());

// Second-band limits in whole MHz.
struct BandTwoLimits {
    int vhfLower = 144;
    int vhfUpper = 146;
    int uhfLower = 430;
    int uhfUpper = 440;
};
// Sets all four limits so that the result does not depend on the order: each lower limit first
// (which moves its upper limit's minimum), then the upper limits. A radio keeps the upper VHF
// limit first in memory; setting the controls in that order would clamp it to the old minimum.
void setBandTwoLimits(ControlStore& func, const BandTwoLimits& limits);
