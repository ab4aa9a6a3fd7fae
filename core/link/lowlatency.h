// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "core/link/radioport.h"

// Linux: what the serial driver answered when the port opened, and what follows from it. The
// driver's low-latency flag (ASYNC_LOW_LATENCY, through TIOCGSERIAL/TIOCSSERIAL) sets an FTDI
// adapter's latency timer to 1 ms; some drivers refuse it to a user, some ignore it. The timer
// itself is then read from the adapter's sysfs entry. Only the answers come in here, so the
// decision is the same with or without such an adapter at hand.
namespace LowLatency {

struct Answers {
    int getError = 0;           // errno of TIOCGSERIAL; 0 when the driver told its flags
    bool flagWasSet = false;    // the flag was among them already
    int setError = 0;           // errno of TIOCSSERIAL, when the flag was asked for
    std::optional<int> timerMs; // latency_timer in sysfs afterwards; none without such an adapter
};

// Whether to ask for the flag: only a driver that tells its flags and does not have it yet.
bool shouldAsk(int getError, bool flagWasSet);

struct Decision {
    bool restore = false; // the flag was set here and goes back when the port closes
    AdapterLatency latency;
};
// A pseudo-terminal (no serial flags) or a driver without a timer leaves the note empty.
Decision decide(const Answers& answers);

} // namespace LowLatency
