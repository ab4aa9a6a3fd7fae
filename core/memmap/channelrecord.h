// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/codeplug/channeltable.h"
#include "core/memmap/memorymap.h"

// One side's 16-byte channel record and 8-byte channel name, between the radio's bytes and a
// row of display text.
//
// Record: bytes 0-3 RX and 4-7 TX frequency as 8 BCD digits in 10 Hz (FF FF FF FF = none),
// 8-9 RX and 10-11 TX tone code, 12 low byte of the CTCSS frequency in tenths of a hertz,
// 13-14 option bits, power and compander, 15 how RX and TX compare.

// The record of `row`; 16 bytes FF for a row without RX frequency. Fails on the first cell that
// cannot be encoded (a frequency not written ddd.ddddd, a tone outside the list, a CTCSS
// frequency that is not a number of at most 409.5 Hz).
[[nodiscard]] Encoded encodeChannelRecord(const ChannelTable& table, int row, const ValueWords& words,
                                          QChar decimalPoint = systemDecimalPoint());

// Writes a record into columns 1-13 and 15-18 of `row`, in the current words. Those columns are
// emptied first, so a record whose RX frequency is not decimal digits (an empty channel is all
// FF) leaves them empty. The name (column 14) comes from its own block. A record shorter than 16
// bytes changes nothing and gives false.
[[nodiscard]] bool decodeChannelRecord(const QByteArray& record, ChannelTable& table, int row,
                                       const ValueWords& words, QChar decimalPoint = systemDecimalPoint());

// The name of `row` padded with blanks to 8 bytes; fails for more than 7 characters or a
// character the radio cannot show.
[[nodiscard]] Encoded encodeChannelName(const ChannelTable& table, int row);

// The first 7 bytes of a name block into column 14 (non-printing bytes as blanks, trailing
// blanks cut). A block shorter than 7 bytes changes nothing and gives false.
[[nodiscard]] bool decodeChannelName(const QByteArray& name, ChannelTable& table, int row);
