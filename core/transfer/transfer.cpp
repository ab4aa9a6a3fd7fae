#include "core/transfer/transfer.h"
#include "core/codeplug/controlnames.h"
#include "core/codeplug/codeplug.h"
#include "core/link/frames.h"
#include "core/link/link.h"
#include "core/memmap/memorymap.h"
#include "core/memmap/radioblocks.h"
#include "core/base/messages.h"
#include "core/codeplug/model.h"
#include "core/codeplug/session.h"

namespace {
// A long list of problems is cut so that the message box still fits on the screen.
constexpr int ShownProblems = 20;
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

QString transferMessage(const TransferResult& result, const Language& lang) {
    switch (result.outcome) {
    case TransferResult::Outcome::Done:
        return {};
    case TransferResult::Outcome::LinkFailed:
        return lang.text(Str::LinkFailed);
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
    if (!password || !passwordMatches(*password, session.doc.func.text(Ctl::Edit22))) return false;
    const auto ident =
        link.readBlock(Addr::Identification, BlockSize::Identification, Tolerance::Strict, IdentificationMs);
    if (!ident || !identificationMatches(*ident)) return false;
    ControlStore& main = session.doc.main;
    if (main.has(MainCtl::Model) && main.index(MainCtl::Model) != 0 &&
        !main.items(MainCtl::Model).isEmpty()) {
        main.setIndex(MainCtl::Model, 0);
        result.caption = changeModel(session);
    }
    return true;
}
