// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class Language;
class Link;
class Session;

// The read/write dialog's mode value: 1 reads the radio, 2 writes it.
enum class TransferMode : int { Read = 1, Write = 2 };

// What the caller of a transfer decides; the dialog and the command line fill it alike.
struct TransferOptions {
    QString channelRange = QStringLiteral("99"); // the dialog's channel-range field
    bool debugRows = false;                      // "调试频": the first 20 table rows only
    bool initialise = false;       // run of the initialise command: a write always sets the clock
    bool writeFactoryDate = false; // "写入出厂日期" of the factory alignment window is ticked
    // Local date and time for the stamps and the radio's clock; null means the system clock.
    std::function<QDateTime()> now;
    // Progress bar position (0 to ProgressMaximum); null when nobody watches.
    std::function<void(int value)> progress;
};

// Why a transfer's line failed, as the link left it before the end frame.
struct LinkFault {
    enum class Kind {
        None,
        Refused,       // the radio answered, but its identification block is not this model's
        Password,      // the radio's communication password differs from "通信密码"
        PortBroke,     // the port failed while open (cable pulled, device gone)
        PortNotOpened, // the port could not be opened again for the transfer
        NoReply,       // silence, or a reply cut short
        Busy,          // "090009" until the repeat bound
        Damaged,       // damaged, cut or stray replies until the repeat bound
        Unexpected,    // a reply that is none of those the pattern accepts
    };
    Kind kind = Kind::None;
    QString detail;  // PortBroke, PortNotOpened: the port's message; Unexpected: the reply as hex
    int seconds = 0; // Busy, Damaged: the repeat bound
    QString port;    // PortBroke: the device, as the user knows it
};

struct TransferResult {
    enum class Outcome {
        Done,
        LinkFailed,          // handshake, password, identification or a block failed
        ChannelRangeInvalid, // refused before the port was touched
        ValidationFailed,    // the document holds values the radio cannot take; nothing sent
    };
    Outcome outcome = Outcome::Done;
    QStringList problems;           // ValidationFailed: one text per value, located
    std::optional<QString> caption; // main window caption after the model selector was reset
    TransferMode mode = TransferMode::Read;
    LinkFault fault; // LinkFailed: why
    // A write: the blocks the radio acknowledged, of all it was to get once identified.
    int blocksWritten = 0;
    int blocksToWrite = 0;
    // The write frame (hex) that left for the radio after those and was never acknowledged: the
    // radio may hold it. Empty when none did.
    QString unacknowledged;
    // The initialise command's write: the factory alignment went to the radio before it, so a
    // write that sent nothing says so of the document only.
    bool afterAlignment = false;
    bool ok() const { return outcome == Outcome::Done; }
};

// The progress bar's range: 99 channel rows of 5 steps and 20 for the rest.
inline constexpr int ProgressMaximum = 99 * 5 + 20;
// Table rows a transfer may move: 3 VFO rows and 99 channels.
inline constexpr int MaxTransferRows = 102;
inline constexpr int DebugTransferRows = 20;

// TransferRows: the three VFO rows plus the channel range, or 20 with the debug box ticked.
// An empty range counts as "99". Anything but a whole number from 1 to 99 (the field also takes
// "#" and "*", and typed numbers beyond its up-down) gives nothing, so never more than 99
// channel rows move.
[[nodiscard]] std::optional<int> transferRows(const QString& channelRange, bool debugRows);

// The text the user sees for a failed transfer in the current language; empty for success.
// A link failure gives TextLinkFailed, the reason in one line, and for a write what reached the
// radio: nothing, or how far it got.
QString transferMessage(const TransferResult& result, const Language& lang);
// The reason line of a failed exchange; empty for none.
QString faultReason(const LinkFault& fault, const Language& lang);
// What reached the radio of the `planned` blocks: nothing, N of them, or all; with a write frame
// that was sent after those and never acknowledged, that it may hold that block too. "Nothing"
// only when no write frame left the program.
QString reachText(int written, int planned, const QString& unacknowledged, const Language& lang);

// What the link says about a pattern that has just failed.
LinkFault linkFault(const Link& link);

// Handshake, `body`, end frame, in a RadioSession, noting in `result.fault` why the line failed
// before the end frame clears what the radio sent last.
bool runTransferNoting(Link& link, TransferResult& result, const std::function<bool()>& body);

// Steps shared by both directions once the handshake has opened the connection: both stamps
// into the radio information, the password check against "通信密码", the identification block,
// and the model selector back to its first item. False when the radio must not be touched.
[[nodiscard]] bool identifyRadio(Session& session, Link& link, TransferResult& result);
