// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/base/numbers.h"
#include "core/codeplug/codeplug.h"
#include <QByteArray>
#include <QList>

// Settings blocks 1 (0x0180) and 2 (0x0190): 16 bytes each of bits, nibbles and bytes taken from
// the optional-functions controls and the main window's band selectors. Both blocks are tables
// of fields walked by one encoder and one decoder.

// Values the write computes from the document before sending block 1: the channel number
// (1-99) of the first channel of side A and of side B inside one of the three bands of
// ComboBand1, and the first FM list row (1-30) among rows 2-31 that holds a frequency;
// FF where there is none.
struct FirstNumbers {
    int channelA = 0xFF;
    int channelB = 0xFF;
    int fmSlot = 0xFF;
};
// Channel rows 4-102 in order, each tried against the first three band texts; a band holds f
// when lower <= f < upper. A band text that cannot be read holds nothing.
int firstChannelInBands(const ChannelTable& table, const QStringList& bands,
                        QChar decimalPoint = systemDecimalPoint());
int firstFmSlot(const ControlStore& func);
FirstNumbers firstNumbers(const Codeplug& doc, QChar decimalPoint = systemDecimalPoint());

QByteArray encodeSettingsBlock1(const Codeplug& doc, const FirstNumbers& first);
QByteArray encodeSettingsBlock2(const Codeplug& doc);

// Each field is read into its control by its read rule; a value that names no item of a list
// and has no rule leaves the list as it was. A block shorter than 16 bytes changes nothing.
void decodeSettingsBlock1(const QByteArray& block, Codeplug& doc, QChar decimalPoint = systemDecimalPoint());
void decodeSettingsBlock2(const QByteArray& block, Codeplug& doc, QChar decimalPoint = systemDecimalPoint());

// The controls a block carries, for checks that every one of them is covered.
QStringList settingsBlockControls(int block);
