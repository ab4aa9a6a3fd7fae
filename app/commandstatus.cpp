// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/commandstatus.h"
#include "core/base/messages.h"
#include "core/codeplug/session.h"
#include "core/codeplug/validation.h"

QString transferOutcome(const Session& session, TransferMode mode, bool ok, bool cancelled) {
    const Language& lang = session.lang;
    const bool read = mode == TransferMode::Read;
    if (ok) return lang.text(read ? Str::StatusReadDone : Str::StatusWriteDone);
    if (cancelled) return lang.text(Str::TransferCancelled);
    if (!read) {
        // A write sends nothing while the document holds an error: that is why it stopped.
        for (const Problem& p : validateDocument(session))
            if (p.severity == Problem::Severity::Error)
                return lang.text(Str::StatusWriteRefused).arg(p.message);
    }
    return lang.text(read ? Str::StatusReadIncomplete : Str::StatusWriteIncomplete);
}
