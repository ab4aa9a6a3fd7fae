// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/numbers.h"
#include "core/base/valuewords.h"
#include <QString>
#include <optional>

// Tone codes and DTMF nibbles as the radio stores them, composed and parsed as upper-case hex
// text like every other field on the link.
//
// A tone code is 4 hex digits: digits 1-2 the list number, digit 4 the kind (1 CTCSS, 2 DCS
// normal, 3 DCS inverted), digit 3 the top digit of a CTCSS frequency (TX tone only) or 0.
// "FF00" means no tone.

// Which cell a tone code is made from: the RX tone (column 2) or the TX tone (column 4).
namespace ToneKind {
enum : int { Rx = 2, Tx = 4 };
}

// List number of the CTCSS tone whose whole-hertz part is `wholeHz`, as two hex digits
// ("01" for 56.0 ... "3A" for 254.1); empty when no tone of the list has that part.
QString CAL_ctc(int wholeHz);

// List number of a DCS code within its block of 107, as two hex digits ("01" for 017 ...
// "6B" for 754). The octal code digits are passed read as a decimal number (023 -> 23).
// Empty when the list holds no such code.
QString CAL_dcs(int codeDigits);

// The tone code of a tone cell. `ctcssFreqText` is column 18 of the row for a TX tone and
// empty otherwise; for a CTCSS TX tone with a frequency, digit 3 carries the top hex digit of
// the frequency in tenths of a hertz (the other two go to byte 12 of the record).
// Empty when the text matches no list entry or the frequency is not a number that fits three
// hex digits: such a cell must never reach the radio as a short or garbled code.
[[nodiscard]] std::optional<QString> writecode(int kind, const QString& cellText,
                                               const QString& ctcssFreqText, const ValueWords& words,
                                               QChar decimalPoint = systemDecimalPoint());

// The tone cell text of a 4-digit tone code (digit 3 is ignored). A code that names no entry of
// the tone list (unknown kind, number outside its block, not hex) reads as no tone, `words.off`.
QString sendCTC(const QString& code, const ValueWords& words);

// The CTCSS frequency in tenths of a hertz, cut (never rounded) below the tenth: "107.0" -> 1070,
// "107.09" -> 1070. Empty when the text is not a plain non-negative decimal number.
[[nodiscard]] std::optional<int> ctcssTenths(const QString& text, QChar decimalPoint = systemDecimalPoint());

// DTMF text to nibbles, one hex digit per character for the first `count` characters:
// "1"-"9" stay, "0" -> A, "*" -> B, "#" -> C, "A" -> D, "B" -> E, "C" -> F, "D" -> 0.
// Empty when a character has no nibble (E, F, anything outside the DTMF set) or `count` lies
// outside the text.
[[nodiscard]] std::optional<QString> DTMFToHex(const QString& text, int count);

// Nibbles back to DTMF characters for the first `count` hex digits. Empty when one of them is
// not a hex digit or `count` lies outside the text.
[[nodiscard]] std::optional<QString> HexToDTMF(const QString& hex, int count);
