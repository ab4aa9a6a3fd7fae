// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/transfer/transfer.h"
#include "core/transfer/writeprocedure.h"
#include <QByteArray>
#include <QList>
#include <QStringList>

class Language;
class Link;
class Session;

// One block the radio acknowledged during a write, as it was sent.
struct WrittenBlock {
    quint16 address = 0;
    QByteArray data;
};

// The read-back after a write: every block the write sent is read again with the read's
// patterns and compared byte for byte. The clock frame is no block and is never compared.
struct VerifyReport {
    enum class Outcome { Verified, Differs, LinkFailed };
    Outcome outcome = Outcome::Verified;
    QStringList differences; // Differs: one line per block, as the user knows its place
    TransferResult read;     // LinkFailed: why the read-back stopped
    bool ok() const { return outcome == Outcome::Verified; }
};

// Port reset, handshake, a read of each block, end frame. `progress`, when set, runs again from
// 0 to ProgressMaximum over the blocks.
VerifyReport verifyBlocks(const Session& session, Link& link, const QList<WrittenBlock>& blocks,
                          const std::function<void(int)>& progress = {});

// A write, and when it succeeded and `verify` is set, its read-back.
struct VerifiedWrite {
    TransferResult write;
    std::optional<VerifyReport> verify;
    bool ok() const { return write.ok() && (!verify || verify->ok()); }
};
VerifiedWrite writeRadioVerified(Session& session, Link& link, const TransferOptions& options,
                                 const WritePreparation& preparation, bool verify);

// "verified", or the failure with one line per differing block, in `lang`.
QString verifyMessage(const VerifyReport& report, const Language& lang);
