// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringView>
#include <optional>

// The radio's frames: command byte, length L of the body, L body bytes, then the XOR of every
// preceding byte. Traffic is composed and compared as upper-case hex text, two characters per
// byte; these pure functions convert between that text and the bytes on the wire.
namespace Frame {

// Literal exchanges of the programming protocol (hex text, checksum omitted where a request).
inline constexpr QStringView Handshake = u"0206514F5652414E";        // 02 06 "QOVRAN"
inline constexpr QStringView HandshakeReply = u"0606716F7672616E15"; // 06 06 "qovran", checksum 15
inline constexpr QStringView ReadyQuery = u"0600";
inline constexpr QStringView Ready = u"060006"; // also "done" for writes and the clock
inline constexpr QStringView Busy = u"090009";  // ask or send again
inline constexpr QStringView End = u"64016F";   // end of transfer, never answered

// Hex text to bytes; upper and lower case are accepted. Empty for an odd length or a character
// that is not a hex digit, so a malformed text can never turn into a frame.
std::optional<QByteArray> fromHex(QStringView hex);
// Each byte as exactly two upper-case hex digits ("0A", never "A").
QString toHex(const QByteArray& bytes);

// XOR of every byte, starting from 0.
quint8 checksum(const QByteArray& bytes);
// The bytes of `hex` followed by their checksum. Empty when `hex` is not valid hex text or is
// not a frame: at least command and length, and the length byte equal to the body that follows.
// A typed field one digit short therefore never reaches the radio as a shifted frame.
std::optional<QByteArray> compose(QStringView hex);

// True when `reply` (hex text of one whole reply) ends with the XOR of its other bytes written
// as two upper-case hex digits. A text too short to hold a byte and its checksum, of odd length
// or with non-hex characters is never correct.
bool replyChecksumOk(QStringView reply);

// Hex characters of the whole frame that `hex` begins with, read from its length byte: a busy
// or acknowledge reply is complete at 6, a block of N bytes at 2 * (N + 5). Empty while the
// length byte has not arrived or is not hex.
[[nodiscard]] std::optional<int> frameChars(QStringView hex);

// What a reply to a block read is, judged against its request. Every read reply is judged by
// this one routine before a byte of it is used.
enum class ReadReply {
    Whole,      // 57, the right length, the asked address, the data, a right checksum
    Busy,       // "090009": ask again
    NotABlock,  // nothing, or a reply that does not start like a block
    Incomplete, // starts like the block but has not all arrived
    Damaged,    // wrong length byte, wrong checksum, or bytes left over after the block
    OtherBlock, // a sound block of another address: a late answer to an earlier request
};
ReadReply checkReadReply(QStringView reply, quint16 address, int count);

// What a reply to a write (or the clock, or the ready query) is. Acknowledgements carry no
// address, so one that comes with anything more is no proof that this request was carried out.
enum class AckReply {
    Done,       // exactly "060006"
    Busy,       // exactly "090009": send again
    Silent,     // nothing
    Damaged,    // an acknowledgement or busy reply cut short, spoilt, or with bytes left over
    Unexpected, // anything else
};
AckReply checkAck(QStringView reply);

// "5203" + address (four hex digits) + byte count (two hex digits).
QString readRequest(quint16 address, int count);
// "57" + (N + 2) + address + the N data bytes (N from 1 to MaxBlock).
QString writeRequest(quint16 address, const QByteArray& data);
// "5507" + yyMMddhhmmss as six BCD bytes + the weekday (00 = Sunday to 06 = Saturday).
QString clockRequest(const QDateTime& local);

// Most data bytes one read or write frame can carry: its length byte counts N + 2.
inline constexpr int MaxBlock = 250;

// Hex characters a block-read reply occupies: 57, length, address (2), data, checksum.
constexpr int readReplyChars(int count) {
    return 2 * (count + 5);
}

} // namespace Frame
