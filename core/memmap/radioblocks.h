// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/numbers.h"
#include "core/codeplug/controlstore.h"
#include "core/memmap/memorymap.h"
#include <QDateTime>

// The smaller blocks of the radio's memory and the optional-functions controls they belong to.
// Decoders never guess: a field whose bytes cannot be read (FF in a never-written radio, a nibble
// that is not a decimal digit, a block too short) leaves its control as it was.

// Sets an up-down (clamped to its range) and the text its edit shows for the new position.
void setUpDownShown(ControlStore& func, const QString& upDown, int position,
                    QChar decimalPoint = systemDecimalPoint());

// FM slot: the frequency in 10 Hz as 8 BCD digits (87.500 -> 08 75 00 00), FF FF FF FF = empty.
// Empty result when the text is not a non-negative number below 1000 MHz.
[[nodiscard]] std::optional<QByteArray> encodeFmSlot(const QString& text,
                                                     QChar decimalPoint = systemDecimalPoint());
// "" for an empty slot, the "%.3f" text otherwise; nothing when the bytes cannot be read.
[[nodiscard]] std::optional<QString> decodeFmSlot(const QByteArray& slot,
                                                  QChar decimalPoint = systemDecimalPoint());
// FM block 0-7: slots 4*block+1 ... 4*block+4, shown in the same rows of StringGrid2, column 1.
[[nodiscard]] Encoded encodeFmBlock(const ControlStore& func, int block,
                                    QChar decimalPoint = systemDecimalPoint());
void decodeFmBlock(const QByteArray& bytes, ControlStore& func, int block,
                   QChar decimalPoint = systemDecimalPoint());

// Rental end dates Edit32 and Edit31 ("2099-10-01") as year, month and day BCD bytes (6 bytes).
[[nodiscard]] Encoded encodeDates(const ControlStore& func);
// Reads 8 bytes; byte 0 FF (never written) leaves both dates as they were.
void decodeDates(const QByteArray& bytes, ControlStore& func);

// Programming stamp (16 bytes): date and time yyyymmddhhmmss as 14 BCD digits, FF, at most 7
// characters of the name padded with FF, the character count.
QByteArray programmingStamp(const QDateTime& when, const QString& administrator);
// The factory date written by the alignment window: the date as above, then FF (8 bytes).
QByteArray factoryDateBytes(const QDateTime& when);

// Communication password: up to 12 digits as nibbles, padded with F to 15 nibbles, nibble 16 the
// digit count. "*", "#" and anything but 0-9 cannot be stored, so such a password is refused.
[[nodiscard]] std::optional<QByteArray> encodePassword(const QString& digits);
// The radio lets itself be programmed when its count nibble is F (no password) or when its first
// `count` digits are the current-password text (Edit22).
[[nodiscard]] bool passwordMatches(const QByteArray& block, const QString& currentPassword);

// Second-band limits in whole MHz, each 3 BCD digits and a 0 nibble, in the order VHF upper
// (UpDown9), VHF lower (UpDown8), UHF upper (UpDown17), UHF lower (UpDown10).
[[nodiscard]] Encoded encodeBandTwo(const ControlStore& func);
void decodeBandTwo(const QByteArray& bytes, ControlStore& func);

// Squelch base values UpDown14, UpDown13, UpDown16, written as 3 bytes at 0x01CD and read as
// bytes 13-15 of the 16-byte block at 0x01C0.
QByteArray encodeSquelchBase(const ControlStore& func);
void decodeSquelchBase(const QByteArray& block, ControlStore& func);

// Power-on message Edit16: its characters padded with blanks to 8 bytes (the edit takes 7, a read
// may bring 8).
[[nodiscard]] Encoded encodePowerOnMessage(const ControlStore& func);
void decodePowerOnMessage(const QByteArray& bytes, ControlStore& func);
