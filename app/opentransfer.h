// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "app/mainwindow.h"
#include "core/codeplug/history.h"
#include <optional>

// The read or write command from the opening of its dialog until the dialog closes.
struct TMainForm::OpenTransfer {
    OpenTransfer(TransferMode transferMode, DocumentHistory& history, const QString& stepName)
        : mode(transferMode) {
        if (mode == TransferMode::Read) step.emplace(history, stepName);
    }
    TransferMode mode;
    bool ok = false; // the outcome of the dialog's last transfer
    // A read is one undo step, however many turns of the event loop the dialog stays open.
    std::optional<HistoryScope> step;
};
