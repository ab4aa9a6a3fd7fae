// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/transfer/transfer.h"
#include "core/base/messages.h"
#include "core/codeplug/codeplug.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/model.h"
#include "core/codeplug/session.h"
#include "core/link/frames.h"
#include "core/link/link.h"
#include "core/memmap/memorymap.h"
#include "core/memmap/radioblocks.h"
#include "core/transfer/radiosession.h"
#include <QElapsedTimer>

namespace {
// A long list of problems is cut so that the message box still fits on the screen.
constexpr int ShownProblems = 20;
// A reply longer than this is shown cut, so that the message stays one line.
constexpr int ShownReplyChars = 48;
// Waits for the identification reads: the programming stamp is the first reply after the
// handshake and gets a little longer.
constexpr int FirstStampMs = 180;
constexpr int IdentificationMs = 150;
} // namespace

std::optional<int> transferRows(const QString& channelRange, bool debugRows) {
    const QString text = channelRange.trimmed();
    int channels = 99;
    if (!text.isEmpty()) {
        // Digits only: toInt would also take a sign or blanks inside.
        for (const QChar c : text)
            if (c < QChar('0') || c > QChar('9')) return std::nullopt;
        bool ok = false;
        channels = text.toInt(&ok);
        if (!ok || channels < 1 || channels > 99) return std::nullopt;
    }
    return debugRows ? DebugTransferRows : channels + 3;
}

QString faultReason(const LinkFault& fault, const Language& lang) {
    switch (fault.kind) {
    case LinkFault::Kind::None:
        return {};
    case LinkFault::Kind::Refused:
        return lang.text(Str::NotThisRadio);
    case LinkFault::Kind::Password:
        return lang.text(Str::PasswordRefused);
    case LinkFault::Kind::PortBroke:
        // The system's words for a vanished device ("Unknown error", "Inappropriate ioctl for
        // device") tell the user nothing; the trace keeps them.
        return lang.text(Str::PortWentAway).arg(fault.port);
    case LinkFault::Kind::PortNotOpened:
        return lang.text(Str::PortNotOpened).arg(fault.detail);
    case LinkFault::Kind::NoReply:
        return lang.text(Str::NoReply);
    case LinkFault::Kind::Busy:
        return lang.text(Str::RadioBusy).arg(fault.seconds);
    case LinkFault::Kind::Damaged:
        return lang.text(Str::DamagedReplies).arg(fault.seconds);
    case LinkFault::Kind::Unexpected:
        return lang.text(Str::UnexpectedReply).arg(fault.detail);
    }
    return {};
}

namespace {
// Where an unacknowledged write frame goes: its address, or the radio's clock.
QString placeOf(const QString& requestHex, const Language& lang) {
    if (requestHex.startsWith(QLatin1String("57")) && requestHex.size() >= 8)
        return QStringLiteral("0x") + requestHex.mid(4, 4);
    if (requestHex.startsWith(QLatin1String("55"))) return lang.text(Str::RadioClockPlace);
    return requestHex.left(4);
}
} // namespace

QString reachText(int written, int planned, const QString& unacknowledged, const Language& lang) {
    if (!unacknowledged.isEmpty())
        return lang.text(Str::WriteUnacknowledged)
            .arg(written)
            .arg(std::max(planned, written + 1))
            .arg(written + 1)
            .arg(placeOf(unacknowledged, lang));
    if (written <= 0) return lang.text(Str::ReachNothing);
    if (written >= planned) return lang.text(Str::ReachAll).arg(written);
    return lang.text(Str::WriteCutOff).arg(written).arg(planned);
}

namespace {
QString linkFailedMessage(const TransferResult& result, const Language& lang) {
    const QString reason = faultReason(result.fault, lang);
    // A radio that answered but said no is no matter of the cable.
    const bool refused =
        result.fault.kind == LinkFault::Kind::Password || result.fault.kind == LinkFault::Kind::Refused;
    QString text = refused ? reason : lang.text(Str::LinkFailed);
    if (!refused && !reason.isEmpty()) text += QChar('\n') + reason;
    const bool nothingSent = result.blocksWritten <= 0 && result.unacknowledged.isEmpty();
    if (result.mode == TransferMode::Write && nothingSent && result.afterAlignment)
        text += QStringLiteral("\n\n") + lang.text(Str::ReachNoDocument);
    else if (result.mode == TransferMode::Write)
        text += QStringLiteral("\n\n") +
                reachText(result.blocksWritten, result.blocksToWrite, result.unacknowledged, lang);
    return text;
}
} // namespace

LinkFault linkFault(const Link& link) {
    const int boundSeconds = (link.repeatBoundMs() + 999) / 1000;
    switch (link.lastFailure()) {
    case Link::Failure::None:
    case Link::Failure::Cancelled:
        return {};
    case Link::Failure::PortFailed:
        if (link.portFailed())
            return {LinkFault::Kind::PortBroke, link.lastPortError(), 0,
                    link.port() ? link.port()->deviceName() : QString()};
        return {LinkFault::Kind::PortNotOpened, link.lastPortError(), 0, {}};
    case Link::Failure::NoReply:
        return {LinkFault::Kind::NoReply, {}, 0, {}};
    case Link::Failure::Busy:
        return {LinkFault::Kind::Busy, {}, boundSeconds, {}};
    case Link::Failure::Damaged:
        return {LinkFault::Kind::Damaged, {}, boundSeconds, {}};
    case Link::Failure::Unexpected:
        break;
    }
    const QString reply = link.reply();
    const QString shown =
        reply.size() > ShownReplyChars ? reply.left(ShownReplyChars) + QStringLiteral("...") : reply;
    return {LinkFault::Kind::Unexpected, shown, 0, {}};
}

bool runTransferNoting(Link& link, TransferResult& result, const std::function<bool()>& body) {
    QElapsedTimer handshakeTime;
    handshakeTime.start();
    RadioSession radio(link);
    bool ok = radio.handshake();
    if (!ok) {
        // The brand word is asked for a few times, not until the repeat bound: a radio that
        // answers busy to all of them was busy only that long.
        result.fault = linkFault(link);
        const int seconds = std::max(1, int((handshakeTime.elapsed() + 999) / 1000));
        result.fault.seconds = std::min(result.fault.seconds, seconds);
    }
    if (ok) ok = body() && link.confirmLastWrite();
    if (!ok && result.fault.kind == LinkFault::Kind::None) result.fault = linkFault(link);
    if (!ok) result.unacknowledged = link.unacknowledgedWrite();
    return ok;
}

QString transferMessage(const TransferResult& result, const Language& lang) {
    switch (result.outcome) {
    case TransferResult::Outcome::Done:
        return {};
    case TransferResult::Outcome::LinkFailed:
        return linkFailedMessage(result, lang);
    case TransferResult::Outcome::ChannelRangeInvalid:
        return lang.text(Str::ChannelRangeInvalid);
    case TransferResult::Outcome::ValidationFailed: {
        QStringList lines = result.problems.mid(0, ShownProblems);
        if (result.problems.size() > ShownProblems)
            lines << QStringLiteral("... (+%1)").arg(result.problems.size() - ShownProblems);
        return lang.text(Str::ValidationFailed) + QStringLiteral("\n\n") + lines.join(QChar('\n'));
    }
    }
    return {};
}

bool identifyRadio(Session& session, Link& link, TransferResult& result) {
    const auto programming =
        link.readBlock(Addr::ProgrammingStamp, BlockSize::Stamp, Tolerance::Strict, FirstStampMs);
    if (!programming) return false;
    session.radioInfo.showProgrammingStamp(Frame::toHex(*programming));
    const auto factory =
        link.readBlock(Addr::FactoryStamp, BlockSize::Stamp, Tolerance::Strict, IdentificationMs);
    if (!factory) return false;
    session.radioInfo.showFactoryStamp(Frame::toHex(*factory));
    const auto password =
        link.readBlock(Addr::Password, BlockSize::Password, Tolerance::Strict, IdentificationMs);
    if (!password) return false;
    if (!passwordMatches(*password, session.doc.func.text(Ctl::Edit22))) {
        result.fault.kind = LinkFault::Kind::Password;
        return false;
    }
    const auto ident =
        link.readBlock(Addr::Identification, BlockSize::Identification, Tolerance::Strict, IdentificationMs);
    if (!ident) return false;
    if (!identificationMatches(*ident)) {
        result.fault.kind = LinkFault::Kind::Refused;
        return false;
    }
    ControlStore& main = session.doc.main;
    if (main.has(MainCtl::Model) && main.index(MainCtl::Model) != 0 &&
        !main.items(MainCtl::Model).isEmpty()) {
        main.setIndex(MainCtl::Model, 0);
        result.caption = changeModel(session);
    }
    return true;
}
