// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/codeplug/channeltable.h"
#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

// The radio's memory as this program reads and writes it: 16-bit addresses, block sizes and the
// fixed contents the radio expects. The encoders and decoders of the blocks live beside this
// file (channelrecord.h, dtmffields.h, radioblocks.h, settingsblocks.h).
namespace Addr {
constexpr quint16 FmChannels = 0x0000;       // 32 FM slots of 4 bytes, as 8 blocks of 16
constexpr quint16 CallList = 0x0080;         // 16 DTMF codes of 8 bytes, as 8 blocks of 16
constexpr quint16 IdAndStartCode = 0x0100;   // individual-call ID (0-7), start code (8-15)
constexpr quint16 StunAndKillCode = 0x0110;  // stun code (0-7), kill code (8-15)
constexpr quint16 PttIdCodes = 0x0120;       // PTT ID begin code (0-7), end code (8-15)
constexpr quint16 Dates = 0x0138;            // two rental end dates: 6 bytes written, 8 read
constexpr quint16 FactoryStamp = 0x0140;     // date (0-6), FF, text (8-15)
constexpr quint16 Password = 0x0150;         // communication password, 8 bytes
constexpr quint16 BandTwo = 0x0158;          // second-band limits, 8 bytes
constexpr quint16 ProgrammingStamp = 0x0160; // date (0-6), FF, administrator name (8-15)
constexpr quint16 Identification = 0x0170;   // first 8 bytes identify the radio
constexpr quint16 Settings1 = 0x0180;
constexpr quint16 Settings2 = 0x0190;
constexpr quint16 FixedAlignment = 0x01A4; // 3 fixed bytes inside the alignment data
constexpr quint16 SquelchBlock = 0x01C0;   // read whole; squelch base values in bytes 13-15
constexpr quint16 SquelchBase = 0x01CD;    // written as 3 bytes
constexpr quint16 FixedHigh = 0x0768;      // 4 fixed bytes
constexpr quint16 PowerOnMessage = 0x0900;
constexpr quint16 ChannelRecords = 0x0C00; // 32 bytes per table row: side B, then side A
constexpr quint16 ChannelNames = 0x1900;   // 16 bytes per table row: side B, then side A
} // namespace Addr

namespace BlockSize {
constexpr int Record = 16; // one side's channel record
constexpr int Name = 8;    // one side's channel name
constexpr int FmSlot = 4;
constexpr int FmSlotsPerBlock = 4;
constexpr int DtmfField = 8;
constexpr int DatesRead = 8;
constexpr int DatesWritten = 6;
constexpr int Stamp = 16;
constexpr int FactoryDate = 8;
constexpr int Password = 8;
constexpr int BandTwo = 8;
constexpr int Identification = 16;
constexpr int Settings = 16;
constexpr int SquelchBase = 3;
constexpr int PowerOnMessage = 8;
constexpr int Block = 16;
} // namespace BlockSize

constexpr int FmBlockCount = 8;       // 0x0000-0x007F
constexpr int CallListBlockCount = 8; // 0x0080-0x00FF

// Table row 1-102 (VFO rows 1-3, channels 1-99 in rows 4-102) of side A or B.
quint16 channelRecordAddress(Side side, int row);
quint16 channelNameAddress(Side side, int row);
quint16 fmBlockAddress(int block);       // block 0-7 holds FM slots 4*block+1 ... 4*block+4
quint16 callListBlockAddress(int block); // block 0-7 holds call list rows 2*block+1, 2*block+2

// Bytes the radio expects and this program never changes.
QByteArray fixedAlignmentBytes(); // 2D 3E 33 at 0x01A4
QByteArray fixedHighBytes();      // 48 69 67 68 at 0x0768
QByteArray identificationBytes(); // 51 56 2D 52 05 85 FF 06, the first 8 bytes at 0x0170
// True when the first 8 bytes of the identification block are those of this radio.
[[nodiscard]] bool identificationMatches(const QByteArray& block);

// A field whose value cannot be put into the radio's bytes: which one, and why (a message
// number of shell/messages.h, Str::BadTone and the like). A channel table cell is named by its
// column and row, a grid cell by control, column and row, any other control by its name alone.
struct BadField {
    QString control; // empty for a channel table cell
    int column = -1;
    int row = -1;
    int reason = 0;
};

// The bytes of a block, or the field that made encoding impossible. Nothing is encoded halfway:
// a block with a bad field must not be sent at all.
struct Encoded {
    QByteArray bytes;
    std::optional<BadField> bad;
    bool ok() const { return !bad.has_value(); }

    static Encoded of(const QByteArray& b) { return {b, std::nullopt}; }
    static Encoded failed(const BadField& f) { return {{}, f}; }
};

// Decimal digits kept as nibbles ("BCD"): the value of the bytes read as decimal digits, most
// significant first; empty when a nibble is A-F (as in the FF of a never-written field).
[[nodiscard]] std::optional<qint64> bcdValue(const QByteArray& bytes);
// The digits of a text of decimal digits (even count) as nibbles; empty when it holds anything else.
[[nodiscard]] std::optional<QByteArray> bcdBytes(const QString& digits);

// The characters the radio shows: bytes 0x20-0x7F are taken as they are, any other byte as a
// blank; trailing blanks are cut (all blanks give an empty text).
QString radioText(const QByteArray& bytes);
// A text as radio characters padded with blanks to `size` bytes; empty when it is longer than
// `maxChars` or holds a character outside 0x20-0x7F.
[[nodiscard]] std::optional<QByteArray> radioTextBytes(const QString& text, int maxChars, int size);
