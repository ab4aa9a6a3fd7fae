// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/transfer/alignmentexchange.h"
#include "core/transfer/transfer.h"
#include "core/transfer/writeprocedure.h"
#include <optional>

class Link;
class Session;

// The first half of the initialise command. For a write the document is checked first, so that
// a document the write would refuse never follows a written alignment; then the factory
// alignment is written and, when it succeeded, its connection is handed on to the transfer that
// the caller runs next (the dialog's start button, the command line's write). A failed alignment
// write has ended its session and closed the port.
struct Initialisation {
    std::optional<TransferResult> refusal; // the write's refusal: nothing was sent
    std::optional<AlignResult> alignment;  // the alignment write, when it ran
    // The port is open and the transfer may follow.
    bool proceed() const { return !refusal && alignment && alignment->ok(); }
    // What the alignment left in the radio, for the message of a transfer that fails after it.
    QString note(const Language& lang) const;
};
Initialisation beginInitialise(Session& session, Link& link, TransferMode mode,
                               const TransferOptions& options, const WritePreparation& preparation);
