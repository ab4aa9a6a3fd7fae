// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/transfer/safetransfer.h"
#include "core/codeplug/session.h"

SafeTransfer runSafeTransfer(Session& session, Link& link, TransferMode mode, const TransferOptions& options,
                             const WritePreparation& preparation, SafetyChoices choices,
                             const BackupStore& store) {
    SafeTransfer run;
    if (mode == TransferMode::Read) {
        const BackedUpRead read = readRadioWithBackup(session, link, options, store);
        run.result = read.result;
        run.failure = transferMessage(read.result, session.lang);
        run.warning = read.backupError;
        return run;
    }
    if (choices.backupFirst) {
        // A backup asked for and not kept stops the write: the radio could not be brought back.
        const BackedUpRead backup = backUpRadio(session, link, store);
        run.result = backup.result;
        run.failure = backup.result.ok() ? backup.backupError : transferMessage(backup.result, session.lang);
        if (!run.ok()) return run;
    }
    const VerifiedWrite done = writeRadioVerified(session, link, options, preparation, choices.verify);
    run.result = done.write;
    run.failure = transferMessage(done.write, session.lang);
    if (run.ok() && done.verify)
        (done.verify->ok() ? run.verified : run.failure) = verifyMessage(*done.verify, session.lang);
    return run;
}
