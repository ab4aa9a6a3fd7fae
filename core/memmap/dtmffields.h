// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/codeplug/controlstore.h"
#include "core/memmap/memorymap.h"
#include <QList>

// DTMF code fields: 8 bytes = 16 nibbles, the code's characters as nibbles 1-15 padded with F,
// nibble 16 (byte 7 lo) the number of characters.

// A code of at most 15 characters as its field. `raw` stores the text's own hex digits (the PTT
// ID codes while the radio announces the ID by voice) instead of DTMF nibbles. Empty when the
// text is too long or holds a character that has no nibble.
[[nodiscard]] std::optional<QByteArray> encodeDtmfField(const QString& text, bool raw = false);
// The code of a field: its first n nibbles, n = nibble 16. Empty for a field shorter than 8 bytes.
[[nodiscard]] std::optional<QString> decodeDtmfField(const QByteArray& field, bool raw = false);

// A 16-byte block of two codes held in two edits of the optional functions.
struct DtmfCodeBlock {
    quint16 address;
    const char* first;  // bytes 0-7
    const char* second; // bytes 8-15
    bool pttId;         // stored raw while CheckBox34 ("语音播报ID") is ticked
};
// Individual-call ID and start code, stun and kill codes, PTT ID begin and end codes.
const QList<DtmfCodeBlock>& dtmfCodeBlocks();

// The block at `address` (one of dtmfCodeBlocks()) from its two edits.
[[nodiscard]] Encoded encodeDtmfCodeBlock(const ControlStore& func, quint16 address);
// Both codes into their edits; a half that cannot be read leaves its edit as it was.
void decodeDtmfCodeBlock(const QByteArray& block, ControlStore& func, quint16 address);

// Call list block 0-7: rows 2*block+1 and 2*block+2, column 1, of StringGrid1.
[[nodiscard]] Encoded encodeCallListBlock(const ControlStore& func, int block);
void decodeCallListBlock(const QByteArray& bytes, ControlStore& func, int block);
