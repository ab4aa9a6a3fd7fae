// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/quitsignals.h"

// A page gets no termination signals: the browser closes the tab without asking the program.
void quitOnTerminationSignals() {}

bool terminationRequested() {
    return false;
}
