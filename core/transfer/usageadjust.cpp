// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/transfer/usageadjust.h"
#include "core/base/messages.h"
#include "core/codeplug/session.h"
#include "core/link/frames.h"
#include "core/link/link.h"

namespace {
constexpr int LevelsByte = 15;
constexpr int MarkByte = 14; // 0D when the radio keeps a usage level
constexpr quint8 Mark = 0x0D;
constexpr int PowerBytes[] = {7, 10}; // high power at 470 and at 400 MHz
constexpr int StepPerLevel = 10;
constexpr quint16 Levels = 0x01B0;
constexpr int ReadMs = 100;
constexpr int BlockBytes = 16;
} // namespace

UsageChange usageChange(const QByteArray& block, int level) {
    UsageChange change;
    if (block.size() < BlockBytes || quint8(block[MarkByte]) != Mark) return change;
    const int stored = quint8(block[LevelsByte]);
    if (stored >= UsageLevels) return change;
    change.block = block.left(BlockBytes);
    for (const int b : PowerBytes) {
        const int value = quint8(block[b]) + (stored - level) * StepPerLevel;
        if (value < 0 || value > 0xFF) {
            change.kind = UsageChange::Kind::OutOfRange;
            change.byte = b;
            change.value = value;
            return change;
        }
        change.block[b] = char(value);
    }
    change.block[LevelsByte] = char(level);
    change.kind = UsageChange::Kind::Write;
    return change;
}

UsageResult adjustUsage(Session& session, Link& link, int level, const std::function<void(int)>& progress) {
    UsageResult result;
    if (progress) progress(0);
    link.resetPort();
    TransferResult transfer;
    transfer.mode = TransferMode::Write;
    transfer.blocksToWrite = 1;
    QString refusal;
    const bool ok = runTransferNoting(link, transfer, [&] {
        // Checked like every block read: a damaged reply is asked for again, and a reply that
        // never comes right fails before anything is written.
        const std::optional<QByteArray> block = link.readBlock(Levels, BlockBytes, Tolerance::Strict, ReadMs);
        if (!block) return false;
        result.storedLevel = quint8(block->at(LevelsByte));
        const UsageChange change = usageChange(*block, level);
        switch (change.kind) {
        case UsageChange::Kind::Unchanged:
            transfer.blocksToWrite = 0;
            return true;
        case UsageChange::Kind::OutOfRange:
            refusal = session.lang.text(Str::UsageOutOfRange).arg(change.value).arg(change.byte);
            return false;
        case UsageChange::Kind::Write:
            if (!link.writeBlock(Levels, change.block, Tolerance::Strict)) return false;
            result.written = true;
            transfer.blocksWritten = 1;
            return true;
        }
        return false;
    });
    result.ok = ok;
    if (!ok) {
        transfer.outcome = TransferResult::Outcome::LinkFailed;
        result.refused = !refusal.isEmpty();
        result.message = result.refused ? refusal : transferMessage(transfer, session.lang);
    } else if (progress) {
        progress(ProgressMaximum);
    }
    return result;
}
