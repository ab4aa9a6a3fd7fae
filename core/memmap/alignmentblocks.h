// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/codeplug/alignmentdata.h"
#include <QByteArray>
#include <QString>
#include <QStringList>

// The alignment blocks as the radio keeps them, and the text of their write requests. Every
// field goes through one table (alignFields()), walked by the encoder and the decoder alike.
namespace AlignAddr {
constexpr quint16 Identification = 0x0170;
constexpr quint16 BandLimits = 0x0158;
constexpr quint16 Power = 0x01A0; // byte 0: power class 41 = 10W, 42 = 25W
constexpr quint16 Levels = 0x01B0;
constexpr quint16 Timings = 0x01C0;
constexpr quint16 Differences = 0x01D0;
constexpr quint16 Battery = 0x01BE; // byte 14 of 0x01B0: the battery offset
constexpr quint16 DisplayTexts = 0x0900;
constexpr quint16 MenuEntries = 0x0200;
constexpr quint16 OptionWords = 0x0700;
} // namespace AlignAddr

// The hex text of the data bytes a field gives: "%.2x" of a number (lower case), hex fields as
// typed. The field's text must already have passed alignTextProblem().
QString alignFieldHex(const AlignField& field, const QString& text);
// The data of the block at `address` (16 bytes for the three blocks, 8 for 0x0158 and 0x01D0)
// as hex text, built from the fields; byte 0 of 0x01A0 from the power class.
QString alignBlockHex(const AlignmentData& data, quint16 address);
// The fields of a 16-byte block read from the radio, given as the 32 hex digits of the reply:
// decimal fields in decimal, hex fields as the digits stand, signed as value - 128 ("-5"),
// milliseconds x 10. Byte 0 of 0x01A0 selects "10W" (41) or "25W" (42); any other leaves it.
void decodeAlignBlock(AlignmentData& data, quint16 address, const QString& dataHex);

// A text as an entry of a menu table: each character as "%.2x", padded with "20" to `bytes`
// after the text, or in front of it (`rightAligned`). Empty when the text is longer than the
// entry or holds a character outside 0x20-0x7E.
std::optional<QString> menuTextHex(const QString& text, int bytes, bool rightAligned);

// The write requests of the menu tables as hex text, ready to send. A menu entry whose second
// half is missing ("cai.ini" without its key) is written as its 8-byte name alone, so the radio
// keeps the second half it has.
struct MenuPlan {
    QStringList requests;
    QStringList problems; // "<table> <entry>: <text>" of texts that do not fit; nothing may be sent
};
// Display texts 0-23, menu entries 0-50, option words 0-112, in that order.
MenuPlan planMenuTables(const MenuTables& menus);
// Menu entry `n` alone (the "调整SQL" exchange writes entry 17): name and second half.
MenuPlan planMenuEntry(const MenuTables& menus, int n);
