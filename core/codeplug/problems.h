// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/codeplug/validation.h"
#include <QList>
class Session;

// Everything that would stop or change a write of the session's document, worded in the current
// language: the values the radio cannot take (the write's own validation, errors that stop it)
// and, as warnings, what the write would do other than the user may expect — VFO rows its band
// check moves (not the empty ones it fills), channels outside the selected band, transmit frequencies outside
// both bands, channels that repeat another, names missing where the radio shows names, and an empty new
// password. The document is not changed.
[[nodiscard]] QList<Problem> documentProblems(const Session& session);

struct ProblemCount {
    int errors = 0;
    int warnings = 0;
};
ProblemCount countProblems(const QList<Problem>& problems);
