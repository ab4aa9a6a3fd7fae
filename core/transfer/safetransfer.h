// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/transfer/backup.h"
#include "core/transfer/verify.h"

// What the read/write dialog asks for besides the transfer itself.
struct SafetyChoices {
    bool backupFirst = false; // a write reads the radio first and keeps that backup
    bool verify = false;      // a write is read back and compared
};

// The dialog's start button: a read keeps a backup; a write may back up first and verify after.
struct SafeTransfer {
    TransferResult result; // the read or the write; the backup read when that stopped the write
    QString failure;       // the message for the user; empty when all that was asked succeeded
    QString warning;       // a read whose backup could not be kept: the read itself stands
    QString verified;      // "verified" after a write that was read back sound
    bool ok() const { return failure.isEmpty(); }
};
SafeTransfer runSafeTransfer(Session& session, Link& link, TransferMode mode, const TransferOptions& options,
                             const WritePreparation& preparation, SafetyChoices choices,
                             const BackupStore& store);
