// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/transfer/verify.h"
#include "core/base/messages.h"
#include "core/base/texttable.h"
#include "core/codeplug/history.h"
#include "core/codeplug/session.h"
#include "core/link/link.h"
#include "core/memmap/channelrecord.h"
#include "core/memmap/memorymap.h"

namespace {
// The read's waits: side B's record leads a row and gets longer, as in a read.
constexpr int RecordMs = 200;
constexpr int BlockMs = 100;

struct ChannelPlace {
    Side side = Side::A;
    int row = 0;
    bool record = false; // the record, else the name
};

std::optional<ChannelPlace> channelPlace(quint16 address) {
    for (int row = 1; row <= ChannelTable::LastRow; ++row)
        for (Side side : {Side::A, Side::B}) {
            if (channelRecordAddress(side, row) == address) return ChannelPlace{side, row, true};
            if (channelNameAddress(side, row) == address) return ChannelPlace{side, row, false};
        }
    return std::nullopt;
}

QString shown(const QString& value, const Language& lang) {
    return value.isEmpty() ? lang.text(Str::EmptyValue) : value;
}

QString headerOf(int col, const Language& lang) {
    const int number = channelHeaderNumber(col);
    return number > 0          ? lang.text(number)
           : col == Col::PttId ? QStringLiteral("PTT ID")
                               : QStringLiteral("DTMF");
}

// A channel's record or name by its cells: the RX frequency alone when that differs (the
// rest follows from it), otherwise each differing cell with its column's header.
QString channelDifference(const Session& session, const ChannelPlace& place, const QByteArray& radio,
                          const QByteArray& written) {
    const Language& lang = session.lang;
    ChannelTable held(place.side);
    ChannelTable sent(place.side);
    const bool decoded = place.record ? decodeChannelRecord(radio, held, place.row, session.doc.words) &&
                                            decodeChannelRecord(written, sent, place.row, session.doc.words)
                                      : decodeChannelName(radio, held, place.row) &&
                                            decodeChannelName(written, sent, place.row);
    QStringList radioSide;
    QStringList documentSide;
    if (decoded && held.cell(Col::RxFreq, place.row) != sent.cell(Col::RxFreq, place.row)) {
        radioSide << shown(held.cell(Col::RxFreq, place.row), lang);
        documentSide << shown(sent.cell(Col::RxFreq, place.row), lang);
    } else if (decoded) {
        for (int col = Col::RxTone; col < ChannelTable::Columns; ++col)
            if (held.cell(col, place.row) != sent.cell(col, place.row)) {
                const QString header = headerOf(col, lang) + QChar(' ');
                radioSide << header + shown(held.cell(col, place.row), lang);
                documentSide << header + shown(sent.cell(col, place.row), lang);
            }
    }
    // Bytes that decode alike (bits the table does not show) or not at all: the bytes themselves.
    if (radioSide.isEmpty()) {
        const QString header = place.record ? QString() : headerOf(Col::Name, lang) + QChar(' ');
        radioSide << header + QString::fromLatin1(radio.toHex(' ').toUpper());
        documentSide << header + QString::fromLatin1(written.toHex(' ').toUpper());
    }
    return lang.text(Str::VerifyChannel)
        .arg(historyRowName(sent, place.row, lang),
             place.side == Side::A ? QStringLiteral("A") : QStringLiteral("B"),
             radioSide.join(QStringLiteral("; ")), documentSide.join(QStringLiteral("; ")));
}

QString blockDifference(quint16 address, const Language& lang) {
    const int region = address < Addr::CallList                             ? Str::RegionFm
                       : address < Addr::CallList + 16 * CallListBlockCount ? Str::RegionCallList
                                                                            : Str::RegionOptions;
    return lang.text(Str::VerifyBlock)
        .arg(lang.text(region), QStringLiteral("%1").arg(address, 4, 16, QChar('0')).toUpper());
}
} // namespace

VerifyReport verifyBlocks(const Session& session, Link& link, const QList<WrittenBlock>& blocks,
                          const std::function<void(int)>& progress) {
    VerifyReport report;
    QList<std::pair<WrittenBlock, QByteArray>> differing;
    link.resetPort();
    if (progress) progress(0);
    const bool ok = runTransferNoting(link, report.read, [&] {
        for (qsizetype k = 0; k < blocks.size(); ++k) {
            const WrittenBlock& block = blocks[k];
            const std::optional<ChannelPlace> place = channelPlace(block.address);
            const bool recordB = place && place->record && place->side == Side::B;
            // The radio reads only 8 or 16 bytes at a time: a shorter write is read back whole
            // and only the bytes it sent are compared.
            const int sent = int(block.data.size());
            const auto held = link.readBlock(block.address, sent <= 8 ? 8 : 16,
                                             place && place->record ? Tolerance::Tolerant : Tolerance::Strict,
                                             recordB ? RecordMs : BlockMs);
            if (!held) return false;
            const QByteArray compared = held->left(sent);
            if (compared != block.data) differing.append({block, compared});
            if (progress) progress(int((k + 1) * ProgressMaximum / blocks.size()));
        }
        return true;
    });
    if (!ok) {
        report.read.outcome = TransferResult::Outcome::LinkFailed;
        report.outcome = VerifyReport::Outcome::LinkFailed;
        return report;
    }
    for (const auto& [block, held] : differing) {
        const std::optional<ChannelPlace> place = channelPlace(block.address);
        report.differences << (place ? channelDifference(session, *place, held, block.data)
                                     : blockDifference(block.address, session.lang));
    }
    if (!differing.isEmpty()) report.outcome = VerifyReport::Outcome::Differs;
    return report;
}

VerifiedWrite writeRadioVerified(Session& session, Link& link, const TransferOptions& options,
                                 const WritePreparation& preparation, bool verify) {
    VerifiedWrite done;
    QList<WrittenBlock> blocks;
    if (verify)
        link.setBlockHook([&blocks](Link::BlockEvent event, quint16 address, const QByteArray& data) {
            if (event == Link::BlockEvent::Written) blocks.append({address, data});
        });
    done.write = writeRadio(session, link, options, preparation);
    link.setBlockHook({});
    if (verify && done.write.ok()) done.verify = verifyBlocks(session, link, blocks, options.progress);
    return done;
}

QString verifyMessage(const VerifyReport& report, const Language& lang) {
    switch (report.outcome) {
    case VerifyReport::Outcome::Verified:
        return lang.text(Str::Verified);
    case VerifyReport::Outcome::Differs:
        return lang.text(Str::VerifyFailed) + QChar('\n') + report.differences.join(QChar('\n'));
    case VerifyReport::Outcome::LinkFailed:
        return lang.text(Str::VerifyReadFailed) + QChar('\n') + transferMessage(report.read, lang);
    }
    return {};
}
