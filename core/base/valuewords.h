// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

// The nine words that value cells of the channel tables hold, in the language that is active.
// Cells keep the words of the language in which they were written, so every test of a value
// cell compares with these current words, never with a fixed literal.
struct ValueWords {
    QString off, on, high, mid, low, wide, narrow, compander, scrambler;

    // The words of the Simplified Chinese tables, as the radio's home market writes them.
    static ValueWords simplifiedChinese();
    static ValueWords english();
    static ValueWords traditionalChinese();
};
