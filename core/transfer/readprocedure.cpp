// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/transfer/readprocedure.h"
#include "core/codeplug/session.h"
#include "core/link/link.h"
#include "core/memmap/channelrecord.h"
#include "core/memmap/dtmffields.h"
#include "core/memmap/memorymap.h"
#include "core/memmap/radioblocks.h"
#include "core/memmap/settingsblocks.h"

namespace {
constexpr int ProgressStep = 5;
// Waits per block in ms. Side B's record is the first request of a row and gets longer.
constexpr int RecordBMs = 200;
constexpr int BlockMs = 100;

class ReadRun {
public:
    ReadRun(Session& session, Link& link, const TransferOptions& options)
        : m_doc(session.doc), m_link(link), m_options(options) {}

    bool rows(int count) {
        for (int row = 1; row <= count; ++row) {
            for (Side side : {Side::B, Side::A})
                if (!channel(side, row)) return false;
            advance();
        }
        return true;
    }

    // Settings, dates, squelch base, band two, FM list, DTMF codes, power-on message, call
    // list: each decoded straight into its controls.
    bool rest() {
        ControlStore& func = m_doc.func;
        return block(Addr::Settings1, BlockSize::Settings,
                     [&](const QByteArray& b) { decodeSettingsBlock1(b, m_doc); }) &&
               block(Addr::Settings2, BlockSize::Settings,
                     [&](const QByteArray& b) { decodeSettingsBlock2(b, m_doc); }) &&
               block(Addr::Dates, BlockSize::DatesRead, [&](const QByteArray& b) { decodeDates(b, func); }) &&
               block(Addr::SquelchBlock, BlockSize::Block,
                     [&](const QByteArray& b) { decodeSquelchBase(b, func); }) &&
               block(Addr::BandTwo, BlockSize::BandTwo,
                     [&](const QByteArray& b) { decodeBandTwo(b, func); }) &&
               fmList() && dtmf(Addr::PttIdCodes) && dtmf(Addr::IdAndStartCode) &&
               block(Addr::PowerOnMessage, BlockSize::PowerOnMessage,
                     [&](const QByteArray& b) { decodePowerOnMessage(b, func); }) &&
               dtmf(Addr::StunAndKillCode) && callList();
    }

    void advance() {
        m_progress += ProgressStep;
        if (m_options.progress) m_options.progress(std::min(m_progress, ProgressMaximum));
    }

private:
    bool channel(Side side, int row) {
        ChannelTable& table = m_doc.table(side);
        // The row is emptied first: a read that stops here leaves it empty, not half old.
        table.clearRow(row);
        const auto record = m_link.readBlock(channelRecordAddress(side, row), BlockSize::Record,
                                             Tolerance::Tolerant, side == Side::B ? RecordBMs : BlockMs);
        // A block the link accepted has its full size; a short one is a broken reply all the same.
        if (!record || !decodeChannelRecord(*record, table, row, m_doc.words)) return false;
        const auto name =
            m_link.readBlock(channelNameAddress(side, row), BlockSize::Name, Tolerance::Strict, BlockMs);
        return name && decodeChannelName(*name, table, row);
    }

    template <typename Decode>
    bool block(quint16 address, int size, Decode decode, Tolerance tolerance = Tolerance::Strict) {
        const auto bytes = m_link.readBlock(address, size, tolerance, BlockMs);
        if (!bytes) return false;
        decode(*bytes);
        advance();
        return true;
    }

    bool fmList() {
        for (int k = 0; k < FmBlockCount; ++k)
            if (!block(
                    fmBlockAddress(k), BlockSize::Block,
                    [&](const QByteArray& b) { decodeFmBlock(b, m_doc.func, k); }, Tolerance::Tolerant))
                return false;
        return true;
    }

    bool dtmf(quint16 address) {
        return block(address, BlockSize::Block,
                     [&](const QByteArray& b) { decodeDtmfCodeBlock(b, m_doc.func, address); });
    }

    bool callList() {
        for (int k = 0; k < CallListBlockCount; ++k)
            if (!block(callListBlockAddress(k), BlockSize::Block,
                       [&](const QByteArray& b) { decodeCallListBlock(b, m_doc.func, k); }))
                return false;
        return true;
    }

    Codeplug& m_doc;
    Link& m_link;
    const TransferOptions& m_options;
    int m_progress = 0;
};
} // namespace

TransferResult readRadio(Session& session, Link& link, const TransferOptions& options) {
    TransferResult result;
    const std::optional<int> rows = transferRows(options.channelRange, options.debugRows);
    if (!rows) {
        result.outcome = TransferResult::Outcome::ChannelRangeInvalid;
        return result;
    }
    if (options.progress) options.progress(0);
    link.resetPort();
    ReadRun run(session, link, options);
    const bool ok = runTransferNoting(
        link, result, [&] { return identifyRadio(session, link, result) && run.rows(*rows) && run.rest(); });
    result.outcome = ok ? TransferResult::Outcome::Done : TransferResult::Outcome::LinkFailed;
    if (ok && options.progress) options.progress(ProgressMaximum);
    return result;
}

TransferResult readRadioInfo(Session& session, Link& link) {
    TransferResult result;
    link.resetPort();
    const bool ok = runTransferNoting(link, result, [&] { return identifyRadio(session, link, result); });
    result.outcome = ok ? TransferResult::Outcome::Done : TransferResult::Outcome::LinkFailed;
    return result;
}
