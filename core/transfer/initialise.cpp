// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/transfer/initialise.h"
#include "core/base/language.h"
#include "core/base/messages.h"
#include "core/codeplug/session.h"
#include "core/link/link.h"

QString Initialisation::note(const Language& lang) const {
    if (!alignment) return {};
    return lang.text(Str::AlignmentReach)
        .arg(reachText(alignment->blocksWritten, alignment->blocksToWrite, alignment->unacknowledged, lang));
}

Initialisation beginInitialise(Session& session, Link& link, TransferMode mode,
                               const TransferOptions& options, const WritePreparation& preparation) {
    Initialisation run;
    if (mode == TransferMode::Write) {
        run.refusal = writeRefusal(session, options, preparation);
        if (run.refusal) return run;
    }
    // The port is closed for a moment first, as the dialog's command always did.
    link.closePort();
    link.aSysDelay(24, 250);
    run.alignment = writeAlignment(session, link, session.alignment.writeMenus, false);
    // The transfer resets the port itself; a port that does not open is reported by it.
    if (run.alignment->ok()) (void)link.openPort();
    return run;
}
